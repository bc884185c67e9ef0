#!/usr/bin/env bash
# test-web.sh -- the browser edition: builds the site with the web preset, then a test build of it
# in build/web-tests, whose unit tests run as WebAssembly under Node.js and whose page plays every
# scenario in headless Chromium and Firefox ESR, and whose site checks run in Chromium (puppeteer-core
# and axe-core are installed from the npm registry by the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=/usr/share/nodejs # where Debian's emscripten finds its JavaScript modules
cmake --workflow --preset web
cmake --preset web -B build/web-tests -DPATCHER_BUILD_TESTS=ON
cmake --build build/web-tests -j2
ctest --test-dir build/web-tests --output-on-failure --no-tests=error -j2 # Chromium and Firefox side by side
du -cb build/web/site/* # the site's size, before compression
