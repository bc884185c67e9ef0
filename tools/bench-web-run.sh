#!/usr/bin/env bash
# bench-web-run.sh -- times the browser edition on the whole-run benchmark's job in headless
# Chromium: from the 16 MiB image and the 1 MiB patch of about 8,700 records (made as
# tools/bench-whole-run.sh makes them) chosen on the page to the patched file ready for download,
# every dialog answered at once; and the site's size. Uses the site and the puppeteer-core that
# tools/test-web.sh builds and installs.
set -euo pipefail
cd "$(dirname "$0")/.."
modules=$PWD/build/web-tests/tests/web/browser/node_modules
site=${1:-build/web/site} # or another build's site, such as build/web-tests/site
[ -d "$site" ] && [ -d "$modules" ] || { echo "run tools/test-web.sh first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'EOF_PY'
import random, sys
random.seed(1)
length = 16 << 20
open(sys.argv[1] + "/image.bin", "wb").write(random.randbytes(length))
records = bytearray(b"PATCH")
while len(records) < (1 << 20) - 200:
    offset, size = random.randrange(length - 256), random.randrange(1, 240)
    records += offset.to_bytes(3, "big") + size.to_bytes(2, "big") + random.randbytes(size)
open(sys.argv[1] + "/patch.ips", "wb").write(records + b"EOF")
EOF_PY
NODE_PATH=$modules node tools/bench-web-run.js "$site" "$work" "${2:-10}"
du -cb "$site"/*
