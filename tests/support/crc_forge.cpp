// crc_forge.cpp -- chosen CRCs by running zlib's CRC backwards over four free bytes
//
// Feeding four bytes w into the register r gives the same register as feeding four zero bytes
// into r ^ w. One zero-byte step is r' = (r >> 8) ^ T[r & 0xFF], and the top byte of r' is the top
// byte of T[r & 0xFF], which differs for every index: so the step can be undone. Undoing four steps
// from the register the wanted CRC needs gives r ^ w, and with r known, w.
#include "support/crc_forge.h"

#include <zlib.h>

#include <cstdio>

uint32_t zlib_crc32(const bytes &data)
{
    return static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), data.data(), static_cast<uInt>(data.size())));
}

void force_crc(bytes &image, uint32_t crc)
{
    const size_t prefix = image.size() - 4;
    uint32_t reg = ~static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), image.data(), static_cast<uInt>(prefix)));
    const z_crc_t *table = get_crc_table();
    uint8_t index_of_top[256] = {};
    for (uint32_t i = 0; i < 256; i++)
        index_of_top[table[i] >> 24] = static_cast<uint8_t>(i);
    uint32_t wanted = ~crc;
    for (int step = 0; step < 4; step++) {
        uint32_t index = index_of_top[wanted >> 24];
        wanted = ((wanted ^ static_cast<uint32_t>(table[index])) << 8) | index;
    }
    uint32_t word = wanted ^ reg;
    for (int i = 0; i < 4; i++)
        image[prefix + i] = static_cast<uint8_t>(word >> (8 * i));
}

bytes image_with_sum(uint32_t sum, uint32_t min_length)
{
    uint64_t length = sum / 254 + 1; // long enough that no byte has to reach 255
    if (length < min_length)
        length = min_length;
    bytes image(length, static_cast<uint8_t>(sum / length));
    for (uint64_t i = 0; i < sum % length; i++)
        image[i]++;
    return image;
}

std::string crc_text(uint32_t crc)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(crc));
    return text;
}
