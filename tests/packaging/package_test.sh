#!/usr/bin/env bash
# package_test.sh -- `cmake --install` and the .deb from `cpack -G DEB` hold the program, its menu
# entry and its icon where a desktop finds them; the entry starts that program with that icon; the
# .deb declares the libraries the program was linked with: package_test.sh build-folder
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
DESTDIR=$root/installed cmake --install "$1" --prefix /usr >/dev/null
entry=$root/installed/usr/share/applications/patcher.desktop
value() { sed -n "s/^$1=//p" "$entry"; }
desktop-file-validate "$entry"
[ "$(value Name)/$(value Terminal)" = Patcher/false ] || fail "the entry's name or terminal"
[ -x "$root/installed/usr/bin/$(value Exec)" ] || fail "Exec names no installed program"
grep -q '<svg ' "$root/installed/usr/share/icons/hicolor/scalable/apps/$(value Icon).svg" || fail "no icon"
grep -q PATCHER_GTK:BOOL=ON "$1/CMakeCache.txt" || exit 0 # the .deb is made with the desktop back end
(cd "$1" && cpack -G DEB -B "$root" >/dev/null)
deb=$(echo "$root"/patcher_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = patcher ] || fail "no package named patcher"
for library in libgtk-3-0 libglib2.0-0 libc6; do
  dpkg-deb -f "$deb" Depends | grep "$library" >/dev/null || fail "Depends lacks $library"
done
for file in bin/patcher share/applications/patcher.desktop share/icons/hicolor/scalable/apps/patcher.svg; do
  dpkg-deb -c "$deb" | grep " ./usr/$file\$" >/dev/null || fail "the package lacks $file"
done
