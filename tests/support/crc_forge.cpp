// crc_forge.cpp -- chosen CRCs by running zlib's CRC backwards over four free bytes
//
// Feeding four bytes w into the register r gives the same register as feeding four zero bytes
// into r ^ w. One zero-byte step is r' = (r >> 8) ^ T[r & 0xFF], and the top byte of r' is the top
// byte of T[r & 0xFF], which differs for every index: so the step can be undone. Undoing four steps
// from the register the wanted CRC needs gives r ^ w, and with r known, w.
#include "support/crc_forge.h"

#include <algorithm>
#include <numeric>
#include <zlib.h>

uint32_t zlib_crc32(const bytes &data)
{
    return static_cast<uint32_t>(crc32(0L, data.data(), static_cast<uInt>(data.size())));
}

void force_crc(uint8_t *image, uint32_t length, uint32_t crc)
{
    uint32_t reg = ~crc;
    for (int step = 0; step < 4; step++) {
        uint32_t index = 0;
        while (get_crc_table()[index] >> 24 != reg >> 24)
            index++;
        reg = (reg ^ static_cast<uint32_t>(get_crc_table()[index])) << 8 | index;
    }
    reg ^= ~static_cast<uint32_t>(crc32(0L, image, length - 4));
    for (int i = 0; i < 4; i++)
        image[length - 4 + i] = static_cast<uint8_t>(reg >> 8 * i);
}

void force_sum(uint8_t *image, uint32_t length, uint32_t sum, uint32_t from)
{
    int64_t missing = int32_t(sum - std::accumulate(image, image + length, 0u)); // a signed difference
    for (uint32_t i = length; missing != 0 && i-- > from;) {
        const int64_t was = image[i];
        image[i] = static_cast<uint8_t>(std::clamp<int64_t>(was + missing, 0, 255));
        missing -= image[i] - was;
    }
}

std::string crc_text(uint32_t crc)
{
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += "0123456789ABCDEF"[crc >> shift & 0xF];
    return text;
}
