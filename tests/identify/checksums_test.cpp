// checksums_test.cpp -- byte sum and CRC-32 against slow references and zlib, at every alignment
#include "identify/checksums.h"
#include "identify/crc32_tables.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {

// The CRC register after one byte, done the slow way: eight single-bit rounds.
uint32_t bitwise_step(uint32_t reg, uint8_t byte)
{
    reg ^= byte;
    for (int bit = 0; bit < 8; bit++)
        reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320 : reg >> 1;
    return reg;
}

// The byte-at-a-time definition through a single table, the table itself built bit by bit.
uint32_t reference_crc32(const uint8_t *data, size_t length)
{
    static uint32_t table[256];
    for (uint32_t n = 0; n < 256; n++)
        table[n] = bitwise_step(n, 0);
    uint32_t reg = 0xFFFFFFFF;
    for (size_t i = 0; i < length; i++)
        reg = (reg >> 8) ^ table[(reg ^ data[i]) & 0xFF];
    return reg ^ 0xFFFFFFFF;
}

uint32_t reference_sum(const uint8_t *data, size_t length)
{
    return std::accumulate(data, data + length, uint32_t{0},
                           [](uint32_t s, uint8_t b) { return s + b; });
}

bytes random_bytes(size_t length, uint32_t seed)
{
    std::mt19937 generator(seed);
    bytes data(length);
    for (uint8_t &b : data)
        b = static_cast<uint8_t>(generator());
    return data;
}

TEST(crc32_tables, every_table_is_the_slow_computation)
{
    for (uint32_t n = 0; n < 256; n++) {
        // Byte n, then k zero bytes, into a register of 0.
        uint32_t reg = bitwise_step(0, static_cast<uint8_t>(n));
        for (uint32_t k = 0; k < crc32_slice_count; k++) {
            ASSERT_EQ(crc32_tables.entry[k][n], reg) << "table " << k << " entry " << n;
            reg = bitwise_step(reg, 0);
        }
    }
}

struct signature_case {
    const char *name;
    bytes data;
    uint32_t crc;
    uint32_t sum;
};

const signature_case known_signatures[] = {
    {"empty", {}, 0x00000000, 0},
    {"check string", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0xCBF43926, 477},
    {"single zero byte", {0x00}, 0xD202EF8D, 0},
    {"single 0xFF byte", {0xFF}, 0xFF000000, 255},
    {"bytes above 0x7F add unsigned", {0x80, 0xFF, 0xC0}, 0x1634FD50, 0x80 + 0xFF + 0xC0},
};

TEST(checksums, known_values)
{
    for (const signature_case &c : known_signatures) {
        EXPECT_EQ(crc32_buffer(c.data.data(), static_cast<uint32_t>(c.data.size())), c.crc)
            << c.name;
        EXPECT_EQ(byte_sum(c.data.data(), static_cast<uint32_t>(c.data.size())), c.sum) << c.name;
        EXPECT_EQ(zlib_crc32(c.data), c.crc) << c.name << " (the expectation itself)";
    }
}

TEST(checksums, an_empty_buffer_reads_nothing)
{
    EXPECT_EQ(crc32_buffer(nullptr, 0), 0u);
    EXPECT_EQ(byte_sum(nullptr, 0), 0u);
    EXPECT_EQ(byte_sum_equals(nullptr, 0, 0), 1);
}

// Every length from 0 to 64 from every start within an eight-byte group, then longer lengths
// around the group size and beyond.
TEST(checksums, agree_with_zlib_and_the_references_at_every_length_and_start)
{
    const bytes data = random_bytes(70000, 1);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 64; n++)
        lengths.push_back(n);
    for (size_t n : {127, 128, 129, 255, 256, 1000, 4095, 4096, 4097, 65535, 65536, 69990})
        lengths.push_back(n);
    for (size_t start = 0; start < 8; start++)
        for (size_t n : lengths) {
            const uint8_t *p = data.data() + start;
            const uint32_t length = static_cast<uint32_t>(n);
            const bytes piece(p, p + n);
            const uint32_t crc = crc32_buffer(p, length);
            ASSERT_EQ(crc, zlib_crc32(piece)) << "start " << start << " length " << n;
            ASSERT_EQ(crc, reference_crc32(p, n)) << "start " << start << " length " << n;
            ASSERT_EQ(byte_sum(p, length), reference_sum(p, n))
                << "start " << start << " length " << n;
        }
}

TEST(checksums, agree_with_zlib_on_random_buffers_of_random_lengths)
{
    std::mt19937 generator(2);
    for (int round = 0; round < 200; round++) {
        const size_t length = generator() % (1 << 18);
        const bytes data = random_bytes(length, static_cast<uint32_t>(round));
        ASSERT_EQ(crc32_buffer(data.data(), static_cast<uint32_t>(length)), zlib_crc32(data))
            << "length " << length;
    }
}

TEST(byte_sum, wraps_modulo_two_to_the_32)
{
    // 16,843,010 bytes of 0xFF sum to 4,294,967,550, which is 254 past 2^32.
    const bytes image(16843010, 0xFF);
    EXPECT_EQ(byte_sum(image.data(), static_cast<uint32_t>(image.size())), 254u);
}

struct equals_case {
    const char *name;
    bytes data;
    uint32_t expected;
    int32_t result;
};

const equals_case equals_cases[] = {
    {"equal", {1, 2, 0xFF}, 258, 1},
    {"one less", {1, 2, 0xFF}, 257, 0},
    {"one more", {1, 2, 0xFF}, 259, 0},
    {"sum as if bytes were signed", {1, 2, 0xFF}, 2, 0},
    {"empty with 0", {}, 0, 1},
    {"empty with 1", {}, 1, 0},
    {"all ones is no match for empty", {}, 0xFFFFFFFF, 0},
};

TEST(byte_sum_equals, compares_the_whole_sum)
{
    for (const equals_case &c : equals_cases)
        EXPECT_EQ(byte_sum_equals(c.data.data(), static_cast<uint32_t>(c.data.size()), c.expected),
                  c.result)
            << c.name;
}

} // namespace
