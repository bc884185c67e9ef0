#!/usr/bin/env bash
# bench-whole-run.sh -- times a whole terminal run of the release program against `cp` of the same
# image, with hyperfine, and prints the ratio.
#
# The run: a 16 MiB image that no catalogue row knows and an IPS patch of about 1 MiB in some 8,700
# records, so that both "Unrecognized" boxes and both clipboard lines happen, saved over the result
# of the run before (the replace question answered yes). Beside `cp`, `cp` followed by a sync of the
# copy: the patcher syncs its result, so that is the least a saved run can cost. Then the start to
# the first prompt (and the end at once, input being empty) against a build without GTK.
# Needs hyperfine and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v hyperfine >/dev/null || apt-get install -y --no-install-recommends hyperfine
cmake --workflow --preset release >/dev/null
cmake -S . -B build/release-terminal -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATCHER_BUILD_TESTS=OFF \
  -DPATCHER_GTK=OFF >/dev/null
cmake --build build/release-terminal >/dev/null
program=$PWD/build/release/app/patcher
terminal_only=$PWD/build/release-terminal/app/patcher
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

run="env -u DISPLAY -u WAYLAND_DISPLAY"
hyperfine --warmup 3 --runs 30 --export-json times.json 'cp image.bin copy.bin' \
  'cp image.bin copy.bin && sync copy.bin' "$run $program <answers >/dev/null 2>&1"
hyperfine -N -i --warmup 3 --runs 100 --export-json start.json \
  --output null "$run $program" "$run $terminal_only" # input is empty: cancelled, status 1
python3 -c '
import json
cp, synced, run = (r["mean"] * 1000 for r in json.load(open("times.json"))["results"])
start, bare = (r["mean"] * 1000 for r in json.load(open("start.json"))["results"])
print(f"cp {cp:.1f} ms, cp and sync {synced:.1f} ms, whole run {run:.1f} ms: "
      f"{run / cp:.1f} times cp, {run / synced:.2f} times cp and sync")
print(f"start to first prompt {start:.2f} ms, {start / bare:.2f} times a build without GTK")'
