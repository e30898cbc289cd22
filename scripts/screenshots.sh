#!/usr/bin/env bash
# Starts Fenlark under Xvfb on a fresh demo register and saves a PNG of each main-window page.
# usage: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=${1:-build}
out=${2:-screenshots}
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/bin/fenlark" "$work/fenlark"
"$build/bin/fenlark-db" demo "$work/data.mdb" --households 2000 >/dev/null
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display "$work/fenlark" &
app=$!
sleep 3
win=$(DISPLAY=$display xdotool search --name 'Fenlark' | head -n 1)
shot() { DISPLAY=$display import -window root "$out/$1.png"; }
shot page0-home
# The top tool bar's buttons: 首  页 at x≈25, 人员信息管理 at ≈100, 地区管理 at ≈190 (y≈14).
click() { DISPLAY=$display xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 1; }
click 110 14
shot page1-tree-expanded
# The first village committee of the expanded tree: province, city, township, then villages.
click 90 192
shot page1-households
click 330 705
shot page1-households-next-page
click 215 14
shot page2-regions
echo "screenshots in $out"
