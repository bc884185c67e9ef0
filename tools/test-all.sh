#!/usr/bin/env bash
# Builds and runs the whole test suite: every test under AddressSanitizer and UBSan, then the
# Windows build's tests under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --workflow --preset asan
bash tools/test-windows.sh
