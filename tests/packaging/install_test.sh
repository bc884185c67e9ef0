#!/usr/bin/env bash
# install_test.sh -- `cmake --install` puts the program, its menu entry and its icon where a desktop
# finds them, and the entry starts that program with that icon: install_test.sh build-folder
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
entry=$root/usr/share/applications/patcher.desktop
value() { sed -n "s/^$1=//p" "$entry"; }
desktop-file-validate "$entry"
[ "$(value Name)/$(value Terminal)" = Patcher/false ] || { echo "FAIL: the entry's name or terminal"; exit 1; }
[ -x "$root/usr/bin/$(value Exec)" ] || { echo "FAIL: Exec names no installed program"; exit 1; }
grep -q '<svg ' "$root/usr/share/icons/hicolor/scalable/apps/$(value Icon).svg" ||
  { echo "FAIL: Icon names no installed scalable icon"; exit 1; }
