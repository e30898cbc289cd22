#!/usr/bin/env bash
# The real program's start-up under Xvfb on each demo register: the time from launch until its
# main window is mapped on the screen (xdotool finds it visible), and the peak resident set (VmHWM) of the whole process at that moment.
# Three runs per register; prints each and the median.
# usage: bench/startup.sh [BUILD_DIR]   (the registers come from the bench programs' cache)
set -euo pipefail
build=${1:-build-bench}
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
for households in ${FENLARK_BENCH_SIZES:-10000 100000 1000000}; do
  register=/tmp/fenlark-bench/$households.mdb
  if [ ! -f "$register" ]; then
    "$build/bin/fenlark-db" demo "$register" --households "$households" >/dev/null
  fi
  # The program finds data.mdb beside itself.
  mkdir -p "$work/$households"
  cp "$build/bin/fenlark" "$work/$households/fenlark"
  ln -sf "$register" "$work/$households/data.mdb"
  times=()
  for run in 1 2 3; do
    start=$(date +%s%N)
    DISPLAY=$display "$work/$households/fenlark" 2>/dev/null &
    app=$!
    # Polled every 10 ms: xdotool's own --sync waits half a second between looks.
    polls=0
    until DISPLAY=$display xdotool search --onlyvisible --name 'Fenlark v' >/dev/null 2>&1; do
      sleep 0.01
      polls=$((polls + 1))
      if [ "$polls" -gt 2000 ]; then
        DISPLAY=$display import -window root "startup-failure.png"
        echo "the main window did not appear within 20 s; the screen is in startup-failure.png" >&2
        exit 1
      fi
    done
    end=$(date +%s%N)
    hwm=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$app/status")
    kill "$app"
    wait "$app" 2>/dev/null || true
    ms=$(((end - start) / 1000000))
    times+=("$ms")
    echo "$households households, run $run: ${ms} ms, VmHWM ${hwm} MB"
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
  echo "$households households: median ${median} ms"
done
