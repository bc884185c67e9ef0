#!/usr/bin/env bash
# install_test.sh -- `cmake --install` puts the program, its menu entry and its icon where a desktop
# finds them, and the entry starts that program with that icon: install_test.sh build-folder
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
entry=$root/usr/share/applications/patcher.desktop
[ -f "$entry" ] || fail "no desktop entry"
[ -x "$root/usr/bin/patcher" ] || fail "no program"

value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(head -n 1 "$entry")" = "[Desktop Entry]" ] || fail "the entry does not open with its group"
[ "$(value Type)" = Application ] || fail "Type is not Application"
[ "$(value Name)" = Patcher ] || fail "the menu name is not Patcher"
[ "$(value Terminal)" = false ] || fail "the entry asks for a terminal"
[ -x "$root/usr/bin/$(value Exec)" ] || fail "Exec names no installed program"
icon=$root/usr/share/icons/hicolor/scalable/apps/$(value Icon).svg
[ -f "$icon" ] || fail "Icon names no installed scalable icon"
grep -q '<svg ' "$icon" || fail "the icon is not an SVG image"
echo "installed: program, entry and icon"
