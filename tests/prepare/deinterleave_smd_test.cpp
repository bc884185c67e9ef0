// deinterleave_smd_test.cpp -- whole blocks woven into linear order, the partial last block kept
#include "prepare/deinterleave_smd.h"
#include "smd_reference.h"

#include <gtest/gtest.h>

namespace {

TEST(deinterleave_smd, one_block_puts_the_first_half_at_odd_and_the_second_at_even_positions)
{
    bytes in = marker_free_noise(smd_block, 1);
    bytes block = in;
    deinterleave_smd(block.data(), smd_block);
    for (uint32_t i = 0; i < smd_half; i++) {
        ASSERT_EQ(block[2 * i + 1], in[i]) << i;
        ASSERT_EQ(block[2 * i], in[smd_half + i]) << i;
    }
}

TEST(deinterleave_smd, undoes_each_whole_block_and_leaves_the_partial_one_as_it_was)
{
    const uint32_t lengths[] = {0, 1, smd_block - 1, smd_block, smd_block + 1, 3 * smd_block + 5000,
                                16 * smd_block + 0x1000};
    for (uint32_t length : lengths) {
        bytes image = marker_free_noise(length, length);
        bytes before = image;
        deinterleave_smd(image.data(), length);
        size_t whole = length / smd_block * smd_block;
        bytes expected = linear_from_interleaved(bytes(before.begin(), before.begin() + whole));
        expected.insert(expected.end(), before.begin() + whole, before.end());
        EXPECT_EQ(image, expected) << length;
    }
}

} // namespace
