#!/usr/bin/env bash
# Builds the 64-bit patcher.exe with its tests and runs them under wine: the unit tests without a
# display, the end-to-end scenarios through the real dialogs on a virtual one. Then makes the ZIP
# and builds the 32-bit program. Needs the packages of debian-packages.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset mingw
cmake --workflow --preset mingw-i686
