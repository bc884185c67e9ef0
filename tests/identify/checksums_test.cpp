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

TEST(checksums, known_values)
{
    const struct {
        bytes data;
        uint32_t crc, sum;
    } cases[] = {
        {{}, 0x00000000, 0},
        {{'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0xCBF43926, 477},
        {{0x00}, 0xD202EF8D, 0},
        {{0x80, 0xFF, 0xC0}, 0x1634FD50, 0x80 + 0xFF + 0xC0}, // bytes above 0x7F add unsigned
    };
    for (const auto &c : cases) {
        const uint32_t length = static_cast<uint32_t>(c.data.size());
        EXPECT_EQ(crc32_buffer(c.data.data(), length), c.crc) << std::hex << c.crc;
        EXPECT_EQ(byte_sum(c.data.data(), length), c.sum) << c.sum;
    }
    EXPECT_EQ(crc32_buffer(nullptr, 0), 0u);
    EXPECT_EQ(byte_sum(nullptr, 0), 0u);
}

// Every length from 0 to 64 from every start within an eight-byte group, longer lengths around
// the group size and beyond, then random buffers of random lengths.
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
            const uint32_t crc = crc32_buffer(p, static_cast<uint32_t>(n));
            ASSERT_EQ(crc, zlib_crc32(bytes(p, p + n))) << "start " << start << " length " << n;
            ASSERT_EQ(crc, reference_crc32(p, n)) << "start " << start << " length " << n;
            ASSERT_EQ(byte_sum(p, static_cast<uint32_t>(n)), std::accumulate(p, p + n, 0u))
                << "start " << start << " length " << n;
        }
    std::mt19937 generator(2);
    for (uint32_t round = 0; round < 200; round++) {
        const bytes random = random_bytes(generator() % (1 << 18), round);
        ASSERT_EQ(crc32_buffer(random.data(), static_cast<uint32_t>(random.size())),
                  zlib_crc32(random))
            << "length " << random.size();
    }
}

TEST(byte_sum, wraps_modulo_two_to_the_32_and_compares_the_whole_sum)
{
    // 16,843,010 bytes of 0xFF sum to 4,294,967,550, which is 254 past 2^32.
    const bytes image(16843010, 0xFF);
    EXPECT_EQ(byte_sum(image.data(), static_cast<uint32_t>(image.size())), 254u);

    const uint8_t data[] = {1, 2, 0xFF};
    EXPECT_EQ(byte_sum_equals(data, 3, 258), 1);
    for (uint32_t wrong : {257u, 259u, 2u /* as if bytes were signed */})
        EXPECT_EQ(byte_sum_equals(data, 3, wrong), 0) << wrong;
    EXPECT_EQ(byte_sum_equals(nullptr, 0, 0), 1);
    EXPECT_EQ(byte_sum_equals(nullptr, 0, 0xFFFFFFFF), 0);
}

} // namespace
