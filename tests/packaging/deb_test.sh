#!/usr/bin/env bash
# deb_test.sh -- `cpack -G DEB` packs the program, its menu entry and its icon, and declares the
# libraries the program was linked with: deb_test.sh build-folder
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)

fail() { echo "FAIL: $*"; exit 1; }
debs=("$out"/patcher_*.deb)
[ -f "${debs[0]}" ] || fail "no package"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = patcher ] || fail "the package is not named patcher"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libgtk-3-0 libglib2.0-0 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/patcher ./usr/share/applications/patcher.desktop \
            ./usr/share/icons/hicolor/scalable/apps/patcher.svg; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
echo "packed: $(basename "$deb"), Depends: $depends"
