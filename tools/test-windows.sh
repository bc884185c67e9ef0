#!/usr/bin/env bash
# Builds the 64-bit patcher.exe with its tests and runs them under wine: the unit tests without a
# display, then (after a check of what the ZIP holds) the scenarios through the real dialogs on a
# virtual one (the driver is a Linux test program of the asan build), played on the patcher.exe
# unpacked from the ZIP. Then the same for the 32-bit program, whose dialog record is the 76-byte
# form, under 32-bit wine. Needs the packages of debian-packages.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset mingw
bash tests/packaging/zip_test.sh build/mingw/patcher-*-windows-x86_64.zip

# What users get: the program from the ZIP, alone in its folder, through every scenario the Linux
# front ends play, its real dialogs driven on a virtual display by the same driver.
unpacked=build/mingw/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf ../patcher-*-windows-x86_64.zip)
cmake --build --preset asan --target patcher_desktop_tests
export WINEPREFIX="$PWD/build/mingw/wine-prefix-scenarios" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install .NET or the HTML engine
rm -rf "$WINEPREFIX"
(unset DISPLAY && wineboot -i && wineserver -w)
PATCHER_WINE_EXE="$(echo "$PWD/$unpacked"/patcher-*/patcher.exe)" \
  xvfb-run -a -s "-screen 0 1024x768x24" build/asan/tests/workflow/patcher_desktop_tests
echo "patcher.exe from the ZIP: every scenario passed"

# The ZIP's examples are the ones the script makes, and patch as the README says.
examples=build/mingw/examples-check
rm -rf "$examples"
bash examples/make-examples.sh "$examples" >/dev/null
for name in demo-cartridge.bin demo-english.ips; do
  cmp "$examples/$name" "$(echo "$PWD/$unpacked"/patcher-*/examples/$name)"
done
echo "patcher.exe from the ZIP: examples present"

cmake --workflow --preset mingw-i686
PATCHER_WINE_EXE="$PWD/build/mingw-i686/app/patcher.exe" \
  xvfb-run -a -s "-screen 0 1024x768x24" build/asan/tests/workflow/patcher_desktop_tests
echo "the 32-bit patcher.exe: every scenario passed"
