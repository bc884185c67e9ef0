#!/usr/bin/env bash
# Builds and runs the whole test suite: every test under AddressSanitizer and UBSan, the Windows
# build's tests under wine, the browser edition's under Node.js and in headless Chromium, then each
# fuzz harness for PATCHER_FUZZ_SECONDS seconds (default 60; 0 leaves the fuzzing out).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --workflow --preset asan
bash tools/test-windows.sh
bash tools/test-web.sh
if [ "${PATCHER_FUZZ_SECONDS:-60}" != 0 ]; then
  cmake --workflow --preset fuzz
  bash tools/run-fuzzers.sh "${PATCHER_FUZZ_SECONDS:-60}"
fi
