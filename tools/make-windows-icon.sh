#!/usr/bin/env bash
# make-windows-icon.sh -- renders the program's SVG icon into the multi-size .ico that the Windows
# build compiles in. Needs rsvg-convert (librsvg2-bin) and ImageMagick; run it after the SVG changes.
# Usage: tools/make-windows-icon.sh [SVG] [ICO]
set -euo pipefail
cd "$(dirname "$0")/.."
svg=${1:-resources/icon/patcher.svg}
ico=${2:-resources/windows/patcher.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(16 20 24 32 40 48 64 256) # Explorer's small, medium and large views at 100 % to 250 %
files=()
for size in "${sizes[@]}"; do
    rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$svg"
    files+=("$work/$size.png")
done
convert "${files[@]}" "$ico"
