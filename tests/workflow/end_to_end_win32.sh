#!/usr/bin/env bash
# end_to_end_win32.sh -- patcher.exe under wine on a virtual display, its real common dialogs and
# message boxes driven by xdotool as a user would drive them.
#
# Usage: end_to_end_win32.sh PATCHER_EXE WORK_FOLDER SCENARIO
#   prefix        builds a fresh wine prefix in WORK_FOLDER, for the scenarios that follow
#   whole_run     an unknown image patched and saved under a new name, the CRC-32s of source and
#                 result on the clipboard while the next dialog is open
#   cancel        the first dialog cancelled: the program ends and writes nothing
#   replace       the save name exists: the question is answered No, then Yes
#   non_ascii     Japanese file names for the image, the patch and the result
# A failing scenario leaves WORK_FOLDER/end_to_end_win32-SCENARIO.png, the screen as it was.
set -euo pipefail

exe=$1
work=$(cd "$2" && pwd)
scenario=$3

export WINEPREFIX="$work/wine-prefix-end-to-end" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install .NET or the HTML engine
export LC_ALL=C.UTF-8                     # xdotool types, and wine reads, names in UTF-8

if [ "$scenario" = prefix ]; then
    rm -rf "$WINEPREFIX"
    unset DISPLAY
    wineboot -i && wineserver -w
    exit 0
fi

# Each scenario gets a display of its own; no window manager is needed.
if [ -z "${PATCHER_ON_XVFB:-}" ]; then
    PATCHER_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d "$work/end-to-end-$scenario-XXXXXX")
program=
finish()
{
    status=$?
    if [ "$status" -ne 0 ]; then
        import -window root "$work/end_to_end_win32-$scenario.png" || true
        echo "failed; the screen is in $work/end_to_end_win32-$scenario.png" >&2
    fi
    [ -n "$program" ] && kill "$program" 2>/dev/null
    wineserver -k || true
    rm -rf "$folder"
    exit "$status"
}
trap finish EXIT

fail()
{
    echo "$scenario: $*" >&2
    exit 1
}

# A 256 KiB image that no catalogue row knows (all "U"), a patch that sets byte 0x10 to 0x99,
# and the image as that patch leaves it.
make_inputs() # IMAGE PATCH
{
    head -c 262144 /dev/zero | tr '\0' U >"$folder/$1"
    printf 'PATCH\0\0\020\0\001\231EOF' >"$folder/$2"
    cp "$folder/$1" "$folder/expected"
    printf '\231' | dd of="$folder/expected" bs=1 seek=16 conv=notrunc status=none
}

start_patcher()
{
    (cd "$folder" && exec wine "$exe") >"$work/end_to_end_win32-$scenario.log" 2>&1 &
    program=$!
}

# Prints the newest visible window titled exactly title once there are at least count of them.
# A search fails now and then when a window goes away while xdotool looks at it: it is retried.
window() # TITLE [COUNT]
{
    local title=$1 count=${2:-1} ids deadline=$((SECONDS + 60))
    while [ "$SECONDS" -lt "$deadline" ]; do
        ids=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null |
            sort -n) || ids=
        if [ -n "$ids" ] && [ "$(wc -l <<<"$ids")" -ge "$count" ]; then
            tail -n 1 <<<"$ids" # X hands out window ids in increasing order
            return
        fi
        sleep 0.2
    done
    fail "no window \"$title\" (wanted $count)"
}

# Waits until fewer than count visible windows carry the title.
wait_closed() # TITLE COUNT
{
    local deadline=$((SECONDS + 30)) ids
    while [ "$SECONDS" -lt "$deadline" ]; do
        ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || ids=
        [ "$(grep -c . <<<"$ids")" -lt "$2" ] && return
        sleep 0.2
    done
    fail "\"$1\" still open"
}

# Names outside the keymap go through the clipboard: xdotool maps a spare key to each such
# character as it types it, and wine misses some of those remapped keys.
type_text() # TEXT
{
    if LC_ALL=C grep -q '^[ -~]*$' <<<"$1"; then
        xdotool type --delay 30 "$1"
    else
        printf "%s" "$1" | xclip -i -selection clipboard 2>/dev/null # it serves until the display ends
        xdotool key ctrl+v
    fi
}

# Focuses the window, then sends it keys: "type:TEXT" types TEXT, anything else is a key name.
send() # WINDOW KEY...
{
    local id=$1
    shift
    xdotool windowfocus --sync "$id"
    for key in "$@"; do
        case $key in
            type:*) type_text "${key#type:}" ;;
            *) xdotool key "$key" ;;
        esac
    done
}

answer() # TITLE TEXT: types TEXT into the dialog's name field and confirms
{
    local id
    id=$(window "$1") || exit 1
    send "$id" "type:$2" Return
}

acknowledge() # TITLE: closes the message box with its OK button
{
    local id
    id=$(window "$1") || exit 1
    send "$id" Return
}

expect_exit_0()
{
    local code=0
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program" 2>/dev/null && fail "the program is still running"
    wait "$program" || code=$?
    program=
    [ "$code" -eq 0 ] || fail "exit code $code"
}

expect_same() # FILE EXPECTED
{
    cmp -s "$folder/$1" "$folder/$2" || fail "$1 is not $2"
}

expect_entries() # NAME...: the folder holds exactly these entries
{
    local have want
    have=$(cd "$folder" && ls -A | sort)
    want=$(printf '%s\n' "$@" | sort)
    [ "$have" = "$want" ] || fail "folder holds: $have"
}

# "0x" and eight upper-case hexadecimal digits: the CRC-32 of the file, read from gzip's trailer.
crc_text() # FILE
{
    printf '0x%08X' "0x$(gzip -c <"$folder/$1" | tail -c 8 | od -An -tx4 -N4 | tr -d ' ')"
}

clipboard()
{
    timeout 10 xclip -o -selection clipboard
}

load_both() # IMAGE PATCH: through the target dialog, the source box and the patch dialog
{
    answer "Load file to be patched" "$1"
    acknowledge "Unrecognized source file"
    answer "Load IPS file" "$2"
    acknowledge "Unrecognized patch"
}

case $scenario in
whole_run)
    make_inputs game.bin fix.ips
    start_patcher
    answer "Load file to be patched" game.bin
    acknowledge "Unrecognized source file"
    window "Load IPS file" >/dev/null || exit 1
    [ "$(clipboard)" = "$(crc_text game.bin)" ] || fail "clipboard at the patch dialog: $(clipboard)"
    answer "Load IPS file" fix.ips
    acknowledge "Unrecognized patch"
    window "Save patched file" >/dev/null || exit 1
    [ "$(clipboard)" = "$(crc_text expected)" ] || fail "clipboard at the save dialog: $(clipboard)"
    answer "Save patched file" result.bin
    expect_exit_0
    expect_same result.bin expected
    expect_entries game.bin fix.ips expected result.bin
    ;;
cancel)
    make_inputs game.bin fix.ips
    start_patcher
    id=$(window "Load file to be patched") || exit 1
    send "$id" Escape
    expect_exit_0
    expect_entries game.bin fix.ips expected
    ;;
replace)
    make_inputs game.bin fix.ips
    printf 'an older result' >"$folder/result.bin"
    start_patcher
    load_both game.bin fix.ips
    answer "Save patched file" result.bin
    # The question carries the save dialog's title and is the newer window of that title.
    id=$(window "Save patched file" 2) || exit 1
    send "$id" n
    wait_closed "Save patched file" 2
    [ "$(cat "$folder/result.bin")" = "an older result" ] || fail "replaced after No"
    answer "Save patched file" result.bin
    id=$(window "Save patched file" 2) || exit 1
    send "$id" y
    expect_exit_0
    expect_same result.bin expected
    expect_entries game.bin fix.ips expected result.bin
    ;;
non_ascii)
    make_inputs "ゲーム.bin" "日本語パッチ.ips"
    start_patcher
    load_both "ゲーム.bin" "日本語パッチ.ips"
    answer "Save patched file" "完成版.bin"
    expect_exit_0
    expect_same "完成版.bin" expected
    expect_entries "ゲーム.bin" "日本語パッチ.ips" expected "完成版.bin"
    ;;
*)
    fail "no such scenario"
    ;;
esac
