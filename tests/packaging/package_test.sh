#!/usr/bin/env bash
# package_test.sh -- `cmake --install` puts the program, its menu entry, icon and manual page where a
# desktop and man find them; the entry starts that program with that icon. The .deb as users make it
# (an optimised build of the program alone) holds the same files, declares the libraries the program
# and its module were linked with, and gives lintian, at its most exacting, nothing to report:
# package_test.sh build-folder source-folder
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
DESTDIR=$root/installed cmake --install "$1" --prefix /usr >/dev/null
entry=$root/installed/usr/share/applications/patcher.desktop
value() { sed -n "s/^$1=//p" "$entry"; }
desktop-file-validate "$entry"
[ "$(value Name)/$(value Terminal)" = Patcher/false ] || fail "the entry's name or terminal"
[ -x "$root/installed/usr/bin/$(value Exec | cut -d" " -f1)" ] || fail "Exec names no installed program"
grep -q '<svg ' "$root/installed/usr/share/icons/hicolor/scalable/apps/$(value Icon).svg" || fail "no icon"
update-mime-database "$root/installed/usr/share/mime"
grep -qx '50:application/x-ips-patch:\*.ips' "$root/installed/usr/share/mime/globs2" || fail "no IPS patch type"
[ "$(value MimeType)/$(value Exec)" = "application/x-ips-patch;/patcher %F" ] || fail "the entry takes no patches"
manual=$(man --warnings -M "$root/installed/usr/share/man" patcher 2>&1 >/dev/null || true)
[ -z "$manual" ] || fail "the manual page: $manual"
grep -q PATCHER_GTK:BOOL=ON "$1/CMakeCache.txt" || exit 0 # the .deb is made with the desktop back end
cmake -S "$2" -B "$root/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATCHER_BUILD_TESTS=OFF >/dev/null
build=$(cmake --build "$root/release" 2>&1) || fail "the optimised build: $build"
(cd "$root/release" && cpack -G DEB -B "$root" >/dev/null)
deb=$(echo "$root"/patcher_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = patcher ] || fail "no package named patcher"
for library in libgtk-3-0 libglib2.0-0 libc6; do
  dpkg-deb -f "$deb" Depends | grep "$library" >/dev/null || fail "Depends lacks $library"
done
for file in bin/patcher share/applications/patcher.desktop share/icons/hicolor/scalable/apps/patcher.svg \
  share/mime/packages/patcher.xml; do
  dpkg-deb -c "$deb" | grep " ./usr/$file\$" >/dev/null || fail "the package lacks $file"
done
changelog=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/patcher/changelog.gz | zcat)
[ "${changelog%%)*}" = "patcher ($(dpkg-deb -f "$deb" Version)" ] || fail "no changelog entry for this version"
tags=$(lintian --display-info --pedantic --fail-on none "$deb")
[ -z "$tags" ] || fail "lintian reports: $tags"
