#!/usr/bin/env bash
# bench-whole-run.sh -- times a whole terminal run of the release program against `cp` of the same
# image, with hyperfine, and prints the ratio.
#
# The run: a 16 MiB image that no catalogue row knows and an IPS patch of about 1 MiB in some 8,700
# records, so that both "Unrecognized" boxes and both clipboard lines happen, saved over the result
# of the run before (the replace question answered yes). Needs hyperfine and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v hyperfine >/dev/null || apt-get install -y --no-install-recommends hyperfine
cmake --workflow --preset release >/dev/null
program=$PWD/build/release/workflow/patcher
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'EOF'
import random
random.seed(1)
length = 16 << 20
open("image.bin", "wb").write(random.randbytes(length))
records = bytearray(b"PATCH")
while len(records) < (1 << 20) - 200:
    offset, size = random.randrange(length - 256), random.randrange(1, 240)
    records += offset.to_bytes(3, "big") + size.to_bytes(2, "big") + random.randbytes(size)
open("patch.ips", "wb").write(records + b"EOF")
EOF
# Target, Enter for the source's box, patch, Enter for the result's box, output, replace it.
printf 'image.bin\n\npatch.ips\n\nout.bin\ny\n' >answers
env -u DISPLAY -u WAYLAND_DISPLAY "$program" <answers >/dev/null 2>&1
[ -f out.bin ] || { echo "the run saved nothing"; exit 1; }

hyperfine --warmup 3 --runs 30 --export-json times.json \
  'cp image.bin copy.bin' "env -u DISPLAY -u WAYLAND_DISPLAY $program <answers >/dev/null 2>&1"
python3 -c '
import json
cp, run = (r["mean"] for r in json.load(open("times.json"))["results"])
print(f"cp {cp * 1000:.1f} ms, whole run {run * 1000:.1f} ms: {run / cp:.1f} times cp")'
