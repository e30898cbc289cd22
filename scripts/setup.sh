#!/usr/bin/env bash
# Installs everything Fenlark needs to build, run, test and benchmark on Debian 12.
# Run as root. Idempotent: a second run only re-checks the packages.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n qt6-qpa-plugins
  libgl1-mesa-dev
  libsqlite3-dev sqlite3
  libxlsxwriter-dev
  libjpeg-dev
  libicu-dev
  mdbtools-dev mdbtools
  libgtest-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xdotool imagemagick x11-utils
  python3-openpyxl
  golang-github-mozillazg-go-pinyin-dev
  desktop-file-utils shared-mime-info xdg-utils
  qt6-charts-dev libqt6opengl6-dev
  libpq-dev postgresql
  fonts-noto-cjk fonts-hanazono fonts-babelstone-han
  lintian appstream poppler-utils dpkg-dev file fakeroot
  librsvg2-bin
)
if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh: run as root (it installs Debian packages)" >&2
  exit 1
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
