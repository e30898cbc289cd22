#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks its files and metadata, installs it,
# starts the installed program as a new user would (offscreen, an empty home), sees it reach the
# first-start window, and removes the package again. Run as root after the build:
#   bash scripts/package_check.sh [BUILD_DIR]      (BUILD_DIR defaults to build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

(cd "$build" && cpack -G DEB)
debs=("$build"/fenlark_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "package_check: no package made in $build" >&2; exit 1; }
echo "package_check: $deb"

# Files the package must hold.
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for expected in \
  ./usr/bin/fenlark ./usr/bin/fenlark-db \
  ./usr/share/applications/org.fenlark.Fenlark.desktop \
  ./usr/share/metainfo/org.fenlark.Fenlark.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/fenlark.svg \
  ./usr/share/icons/hicolor/48x48/apps/fenlark.png \
  ./usr/share/icons/hicolor/256x256/apps/fenlark.png \
  ./usr/share/doc/fenlark/copyright ./usr/share/doc/fenlark/changelog.gz; do
  grep -qxF "$expected" <<<"$listing" || { echo "package_check: $expected missing from the package" >&2; exit 1; }
done
# Nothing of the build tree (a demo register, a logo) may travel with it.
if grep -E 'data\.mdb|logo\.jpg' <<<"$listing"; then
  echo "package_check: the package carries a register or a logo" >&2
  exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-noto-cjk fonts-hanazono fonts-babelstone-han qt6-translations-l10n libqt6widgets6; do
  grep -q "$needed" <<<"$depends" || { echo "package_check: Depends lacks $needed: $depends" >&2; exit 1; }
done

# Metadata as the desktop and the software centres read it, from inside the package.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.fenlark.Fenlark.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.fenlark.Fenlark.metainfo.xml"
lintian --fail-on error --suppress-tags no-manual-page "$deb"

# Installed, started by a user with no register yet: the first-start window must come up.
DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=300 "./$deb"
trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -o DPkg::Lock::Timeout=300 fenlark >/dev/null || true; rm -rf "$unpacked"' EXIT
/usr/bin/fenlark --version
/usr/bin/fenlark-db --version
home=$(mktemp -d)
log="$home/fenlark.log"
line="fenlark: first start: no register found, offering to make $home/.local/share/fenlark/data.mdb"
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 /usr/bin/fenlark 2>"$log" &
pid=$!
for _ in $(seq 60); do
  grep -qF "$line" "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
waiting=no
if kill -0 "$pid" 2>/dev/null; then
  waiting=yes # still at the window, as it should be: the clerk has not chosen yet
  kill "$pid"
fi
wait "$pid" || true
if ! grep -qF "$line" "$log" || [ "$waiting" != yes ]; then
  echo "package_check: the installed program did not wait at the first-start window:" >&2
  cat "$log" >&2
  exit 1
fi
[ ! -e "$home/.local/share/fenlark/data.mdb" ] || { echo "package_check: a register was made unasked" >&2; exit 1; }
rm -rf "$home"
trap 'rm -rf "$unpacked"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get remove -y -o DPkg::Lock::Timeout=300 fenlark
[ ! -e /usr/bin/fenlark ] || { echo "package_check: /usr/bin/fenlark still there after removal" >&2; exit 1; }
echo "package_check: ok"
