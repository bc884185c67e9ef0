// checksums.cpp -- byte sum and CRC-32 of a whole buffer, each alone or both in one pass
//
// The CRC is defined byte by byte through one table: index = (register ^ byte) & 0xFF, then
// register = (register >> 8) ^ table[index]. Since the CRC is linear, the effect of eight bytes on
// the register can be looked up at once: the byte that still has k bytes after it in the group
// goes through table k, which already holds k further zero-byte steps, and the eight results are
// exclusive-ored together. The register's 32 bits join the first four bytes of the group. Each
// group thus costs eight independent look-ups instead of a chain of eight dependent ones, and the
// result is exactly that of the byte-by-byte definition, which also finishes the last 0 to 7 bytes.
#include "identify/checksums.h"

#include "identify/crc32_tables.h"

namespace {

const uint32_t crc32_start = 0xFFFFFFFF; // the register's first value, and the final flip

// Four bytes as a little-endian number, whatever the machine's own order and alignment.
inline uint32_t load_le32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

uint32_t byte_sum(const uint8_t *buffer, uint32_t length)
{
    uint32_t sum = 0;
    for (uint32_t i = 0; i < length; i++)
        sum += buffer[i]; // unsigned wrap is the defined modulo 2^32
    return sum;
}

int32_t byte_sum_equals(const uint8_t *buffer, uint32_t length, uint32_t expected)
{
    return byte_sum(buffer, length) == expected ? 1 : 0;
}

namespace {

// The CRC-32 of the buffer; with add_sum, the byte sum too, from the same reads of the bytes, so
// that an image on its way to identification is walked once.
template <bool add_sum> uint32_t crc32_pass(const uint8_t *buffer, uint32_t length, uint32_t *sum)
{
    const uint32_t(*table)[crc32_table_length] = crc32_tables.entry;
    uint32_t reg = crc32_start;
    uint32_t left = length;
    uint32_t total = 0;
    for (; left >= crc32_slice_count; left -= crc32_slice_count, buffer += crc32_slice_count) {
        // The last four bytes do not meet the register: their look-ups can start early.
        uint32_t second = load_le32(buffer + 4);
        uint32_t later = (table[3][second & 0xFF] ^ table[2][(second >> 8) & 0xFF]) ^
                         (table[1][(second >> 16) & 0xFF] ^ table[0][second >> 24]);
        uint32_t first = load_le32(buffer);
        if (add_sum)
            total += byte_sum(buffer, crc32_slice_count);
        first ^= reg;
        reg = (table[7][first & 0xFF] ^ table[6][(first >> 8) & 0xFF]) ^
              (table[5][(first >> 16) & 0xFF] ^ table[4][first >> 24]) ^ later;
    }
    for (; left > 0; left--, buffer++) {
        if (add_sum)
            total += *buffer;
        reg = (reg >> 8) ^ table[0][(reg ^ *buffer) & 0xFF];
    }
    if (add_sum)
        *sum = total;
    return reg ^ crc32_start;
}

} // namespace

uint32_t crc32_buffer(const uint8_t *buffer, uint32_t length)
{
    return crc32_pass<false>(buffer, length, nullptr);
}

image_signature image_signatures(const uint8_t *buffer, uint32_t length)
{
    image_signature signature;
    signature.crc = crc32_pass<true>(buffer, length, &signature.sum);
    return signature;
}
