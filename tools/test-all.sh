#!/usr/bin/env bash
# Builds and runs the whole test suite: every test under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --workflow --preset asan
