// crc32_tables.cpp -- the CRC-32 tables, worked out by the compiler and stored as constant data
#include "identify/crc32_tables.h"

namespace {

// One byte's eight rounds: shift right, and fold the polynomial back in for every 1 shifted out.
constexpr uint32_t eight_rounds(uint32_t reg)
{
    for (int bit = 0; bit < 8; bit++)
        reg = (reg & 1) ? (reg >> 1) ^ crc32_polynomial : reg >> 1;
    return reg;
}

constexpr crc32_table_set build_tables()
{
    crc32_table_set tables{};
    for (uint32_t n = 0; n < crc32_table_length; n++)
        tables.entry[0][n] = eight_rounds(n);
    // Feeding one more zero byte: shift out the low byte and fold it in through the first table.
    for (uint32_t k = 1; k < crc32_slice_count; k++)
        for (uint32_t n = 0; n < crc32_table_length; n++) {
            uint32_t previous = tables.entry[k - 1][n];
            tables.entry[k][n] = (previous >> 8) ^ tables.entry[0][previous & 0xFF];
        }
    return tables;
}

} // namespace

constexpr crc32_table_set crc32_tables = build_tables();

// The well-known entries of the byte-at-a-time table, checked when the tables are built.
static_assert(crc32_tables.entry[0][0] == 0x00000000, "first entry");
static_assert(crc32_tables.entry[0][1] == 0x77073096, "entry 1");
static_assert(crc32_tables.entry[0][128] == 0xEDB88320, "entry 128 is the polynomial");
static_assert(crc32_tables.entry[0][255] == 0x2D02EF8D, "last entry");
