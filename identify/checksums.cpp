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

#include "identify/byte_sum_sad.h"
#include "identify/crc32_clmul.h"
#include "identify/crc32_tables.h"

namespace {

const uint32_t crc32_start = 0xFFFFFFFF; // the register's first value, and the final flip

// Four bytes as a little-endian number, whatever the machine's own order and alignment.
inline uint32_t load_le32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t chosen_path = -1; // a checksum_path; -1 until the first checksum asks the CPU

int32_t path()
{
    if (chosen_path < 0)
        chosen_path = crc32_wide_clmul_available() ? checksum_path_avx512
                      : crc32_clmul_available()    ? checksum_path_sse
                                                   : checksum_path_portable;
    return chosen_path;
}

} // namespace

uint32_t byte_sum(const uint8_t *buffer, uint32_t length)
{
    uint32_t sum = 0, vectors = 0; // the bytes summed in whole vector blocks
    if (path() == checksum_path_avx512)
        sum = byte_sum_avx512(buffer, vectors = length & ~63u);
    else if (path() == checksum_path_sse)
        sum = byte_sum_sse2(buffer, vectors = length & ~15u);
    for (uint32_t i = vectors; i < length; i++)
        sum += buffer[i]; // unsigned wrap is the defined modulo 2^32
    return sum;
}

namespace {

const uint32_t clmul_least = 64;       // the folding path takes at least four 16-byte blocks
const uint32_t wide_clmul_least = 256; // the 512-bit one four 64-byte blocks
const uint32_t signature_chunk = 0x4000; // 16 KiB: a chunk is still in the cache for its sum

// The register after the bytes, by the slices of the tables, eight bytes a step.
uint32_t table_update(uint32_t reg, const uint8_t *buffer, uint32_t length)
{
    const uint32_t(*table)[crc32_table_length] = crc32_tables.entry;
    uint32_t left = length;
    for (; left >= crc32_slice_count; left -= crc32_slice_count, buffer += crc32_slice_count) {
        // The last four bytes do not meet the register: their look-ups can start early.
        uint32_t second = load_le32(buffer + 4);
        uint32_t later = (table[3][second & 0xFF] ^ table[2][(second >> 8) & 0xFF]) ^
                         (table[1][(second >> 16) & 0xFF] ^ table[0][second >> 24]);
        uint32_t first = reg ^ load_le32(buffer);
        reg = (table[7][first & 0xFF] ^ table[6][(first >> 8) & 0xFF]) ^
              (table[5][(first >> 16) & 0xFF] ^ table[4][first >> 24]) ^ later;
    }
    for (; left > 0; left--, buffer++)
        reg = (reg >> 8) ^ table[0][(reg ^ *buffer) & 0xFF];
    return reg;
}

// The register after the bytes: whole 16-byte blocks by folding where the CPU can (the widest
// registers it has), the rest by the tables.
uint32_t crc32_update(uint32_t reg, const uint8_t *buffer, uint32_t length)
{
    uint32_t folded = 0; // the whole 16-byte blocks that a folding path took
    if (path() == checksum_path_avx512 && length >= wide_clmul_least)
        reg = crc32_wide_clmul_update(reg, buffer, folded = length & ~15u);
    else if (path() != checksum_path_portable && length >= clmul_least)
        reg = crc32_clmul_update(reg, buffer, folded = length & ~15u);
    return table_update(reg, buffer + folded, length - folded);
}

} // namespace

uint32_t crc32_buffer(const uint8_t *buffer, uint32_t length)
{
    return crc32_update(crc32_start, buffer, length) ^ crc32_start;
}

image_signature image_signatures(const uint8_t *buffer, uint32_t length)
{
    image_signature signature = {crc32_start, 0};
    for (uint32_t done = 0, part; done < length; done += part) {
        part = length - done < signature_chunk ? length - done : signature_chunk;
        signature.crc = crc32_update(signature.crc, buffer + done, part);
        signature.sum += byte_sum(buffer + done, part);
    }
    signature.crc ^= crc32_start;
    return signature;
}

int32_t checksum_path_available(checksum_path path)
{
    return path == checksum_path_portable || (path == checksum_path_sse && crc32_clmul_available()) ||
           (path == checksum_path_avx512 && crc32_wide_clmul_available());
}

void checksum_use_path(checksum_path path)
{
    chosen_path = path == checksum_path_count        ? -1
                  : checksum_path_available(path) ? path
                                                  : checksum_path_portable;
}
