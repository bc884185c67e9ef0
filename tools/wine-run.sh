#!/bin/sh
# wine-run.sh -- runs one Windows program under wine in the build's own prefix, quietly and without
# a display. Usage: wine-run.sh PREFIX PROGRAM [ARGUMENT...]; the exit code is the program's.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install .NET or the HTML engine
unset DISPLAY WAYLAND_DISPLAY            # programs run this way never show a window
if [ ! -f "$prefix/system.reg" ]; then
    # The first program to start builds the prefix; any started meanwhile waits for it.
    flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i && wineserver -w; }'
fi
exec wine "$@"
