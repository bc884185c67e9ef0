#!/usr/bin/env bash
# deb_test.sh -- `cpack -G DEB` packs the program, its menu entry and its icon, and declares the
# libraries the program was linked with: deb_test.sh build-folder
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$1" && cpack -G DEB -B "$out" >/dev/null)
deb=$(echo "$out"/patcher_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = patcher ] || { echo "FAIL: no package named patcher"; exit 1; }
for library in libgtk-3-0 libglib2.0-0 libc6; do
  dpkg-deb -f "$deb" Depends | grep "$library" >/dev/null || { echo "FAIL: Depends lacks $library"; exit 1; }
done
for file in bin/patcher share/applications/patcher.desktop share/icons/hicolor/scalable/apps/patcher.svg; do
  dpkg-deb -c "$deb" | grep " ./usr/$file\$" >/dev/null || { echo "FAIL: the package lacks $file"; exit 1; }
done
