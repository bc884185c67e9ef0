#!/usr/bin/env bash
# Builds the 64-bit patcher.exe with its tests and runs them under wine: the unit tests without a
# display, the end-to-end scenarios through the real dialogs on a virtual one. Then makes the ZIP,
# runs the patcher.exe unpacked from it once, and builds the 32-bit program. Needs the packages of
# debian-packages.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset mingw

# What users get: the program from the ZIP, alone in its folder, through a whole run.
unpacked=build/mingw/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf ../patcher-*-windows-x86_64.zip)
bash tests/workflow/end_to_end_win32.sh "$(echo "$PWD/$unpacked"/patcher-*/patcher.exe)" build/mingw whole_run
echo "patcher.exe from the ZIP: whole run passed"

# The ZIP's examples are the ones the script makes, and patch as the README says.
examples=build/mingw/examples-check
rm -rf "$examples"
bash examples/make-examples.sh "$examples" >/dev/null
for name in demo-cartridge.bin demo-english.ips; do
  cmp "$examples/$name" "$(echo "$PWD/$unpacked"/patcher-*/examples/$name)"
done
echo "patcher.exe from the ZIP: examples present"

cmake --workflow --preset mingw-i686
