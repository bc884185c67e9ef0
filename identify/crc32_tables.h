// crc32_tables.h -- the eight constant look-up tables of the reflected CRC-32 (0xEDB88320)
#ifndef PATCHER_CRC32_TABLES_H
#define PATCHER_CRC32_TABLES_H

#include <cstdint>

constexpr uint32_t crc32_polynomial = 0xEDB88320; // 0x04C11DB7 with its bits in reverse order
constexpr uint32_t crc32_slice_count = 8;         // bytes taken in one step of crc32_buffer
constexpr uint32_t crc32_table_length = 256;      // one entry per byte value

// entry[0] is the classic byte-at-a-time table: entry[0][n] is the register after eight rounds
// that start from n. entry[k][n] is the register that byte n, followed by k zero bytes, leaves
// behind when fed into a register of 0; it lets one step fold in a byte k places before the last.
struct crc32_table_set {
    uint32_t entry[crc32_slice_count][crc32_table_length];
};

extern const crc32_table_set crc32_tables;

#endif
