#!/usr/bin/env bash
# take-screenshots.sh -- photographs the real GTK dialogs of one run with the examples, for the README
#
#   xvfb-run -a -s '-screen 0 1600x1000x24' bash tools/take-screenshots.sh build/release/app/patcher docs
#
# Names are typed as a user would, relative to the folder the choosers open in. Runs the program in
# a scratch home on the virtual display under a window manager (metacity), answers each dialog with
# xdotool and saves each window, with its title bar, as a PNG in the given folder.
set -euo pipefail
program=$(realpath "$1")
shots=$(realpath "$2")
here=$(cd "$(dirname "$0")/.." && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
home=$scratch/user # the name the choosers show for home
folder=$home/patcher-examples
bash "$here/examples/make-examples.sh" "$folder" >/dev/null

export HOME=$home XDG_RUNTIME_DIR=$home GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
# The window manager draws the title bars; the dialogs come once it has taken the screen.
metacity >/dev/null 2>&1 &
manager=$!
trap 'kill "$manager"; rm -rf "$scratch"' EXIT
timeout 30 sh -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do sleep 0.2; done'
cd "$folder"
"$program" >/dev/null 2>&1 &
run=$!

# Waits for the window titled $1 and prints its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
# Saves window $1 with its title bar as $2.png once GTK has drawn it, less the frame's unpainted
# border (drawn black without a compositor).
shoot() { sleep 1; import -frame -window "$1" -trim +repage "$shots/$2.png"; }

w=$(window 'Load file to be patched')
xdotool windowfocus --sync "$w" key ctrl+l type demo-cartridge.bin
shoot "$w" open-dialog
xdotool windowfocus --sync "$w" key Return

w=$(window 'Unrecognized source file')
shoot "$w" unrecognized-source
xdotool windowfocus --sync "$w" key Return

w=$(window 'Load IPS file')
xdotool windowfocus --sync "$w" key ctrl+l type demo-english.ips
shoot "$w" patch-dialog
xdotool windowfocus --sync "$w" key Return

w=$(window 'Unrecognized patch')
shoot "$w" unrecognized-patch
xdotool windowfocus --sync "$w" key Return

w=$(window 'Save patched file')
xdotool windowfocus --sync "$w" type demo-english
shoot "$w" save-dialog
xdotool windowfocus --sync "$w" key Return
wait "$run"
ls "$folder"
