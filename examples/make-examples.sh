#!/usr/bin/env bash
# make-examples.sh -- writes a made-up cartridge image and a "translation" patch for it, to try the
# patcher on without a game of your own: bash make-examples.sh [folder]  (default: the current one)
#
# demo-cartridge.bin  256 KiB, the smallest image the patcher accepts. Erased-flash filler (0xFF),
#                     a small header at 0x100 and the game's one line of text at 0x200, in French.
# demo-english.ips    two IPS records: the line of text in English at 0x200, and a run of 16 zero
#                     bytes at 0x300 (the save area the "translation" clears).
set -euo pipefail

folder=${1:-.}
image=$folder/demo-cartridge.bin
patch=$folder/demo-english.ips

image_size=262144          # 0x40000: smaller images are refused as too small
header_offset=256          # 0x100: where a cartridge keeps its header
header_text='DEMO CARTRIDGE  (C) PATCHER EXAMPLES'
text_offset=512            # 0x200: the line that the patch translates
text_french='BONJOUR, AVENTURIER !'
text_english='HELLO, ADVENTURER!   ' # padded to the French line's 21 bytes: a patch never resizes

# Writes the text $2 into file $1 at offset $3, keeping the rest of the file as it is.
put() {
    printf '%s' "$2" | dd of="$1" bs=1 seek="$3" conv=notrunc status=none
}

mkdir -p "$folder"
head -c "$image_size" /dev/zero | tr '\000' '\377' > "$image"
put "$image" "$header_text" "$header_offset"
put "$image" "$text_french" "$text_offset"

# IPS: "PATCH", then records of a 3-byte offset and a 2-byte size (big-endian) and the data; a size
# of 0 marks a run: a 2-byte count and the one byte to repeat. "EOF" ends the patch.
{
    printf 'PATCH'
    printf '\000\002\000\000\025%s' "$text_english" # 0x000200, 21 bytes of text
    printf '\000\003\000\000\000\000\020\000'        # 0x000300, a run of 16 zero bytes
    printf 'EOF'
} > "$patch"

echo "Wrote $image and $patch"
