// crc32_reference.cpp -- zlib's crc32() and its table for the WebAssembly test build, where no zlib
// is at hand: the reflected polynomial one bit at a time, as independent of the patcher's own
// tables as zlib's code is
#include <cstdint>
#include <zlib.h>

// Eight steps of the register, one for each bit of the byte shifted in.
static uint32_t shift_byte(uint32_t c)
{
    for (int bit = 0; bit < 8; bit++)
        c = (c >> 1) ^ (0xEDB88320 & (0u - (c & 1))); // 0x04C11DB7 with its bits reversed
    return c;
}

uLong crc32(uLong crc, const Bytef *buf, uInt len)
{
    uint32_t c = ~static_cast<uint32_t>(crc);
    for (uInt i = 0; buf && i < len; i++)
        c = shift_byte(c ^ buf[i]);
    return ~c;
}

const z_crc_t *get_crc_table()
{
    static z_crc_t table[256];
    for (uint32_t n = 0; n < 256; n++)
        table[n] = shift_byte(n);
    return table;
}
