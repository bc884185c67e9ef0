// ips_apply_test.cpp -- strict IPS application agrees with a plain reading of the format
#include "ips/ips_apply.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

static const uint32_t eof_marker = 0x454F46; // "EOF" where an offset would stand

// The format read plainly, its numbers big-endian. Every check of a record comes before any of
// its bytes is written, which leaves the same result and image as checking in the format's order.
static int32_t model_apply(bytes &image, const bytes &p)
{
    if (p.size() < 6 || std::string(p.begin(), p.begin() + 5) != "PATCH")
        return 0;
    for (size_t at = 5, end = 0; at + 3 <= p.size(); at = end) { // fewer than 3 bytes left: no offset
        const uint32_t offset = p[at] << 16 | p[at + 1] << 8 | p[at + 2];
        if (offset == eof_marker)
            return 1;
        const uint32_t size = at + 5 <= p.size() ? p[at + 3] << 8 | p[at + 4] : 0;
        end = at + 5 + (size ? size : 3); // a run has a count and a fill byte
        const uint32_t count = size ? size : end <= p.size() ? p[at + 5] << 8 | p[at + 6] : 0;
        if (end > p.size() || count == 0 || offset + count > image.size())
            return 0; // the record is cut short, empty, or reaches past the image
        for (uint32_t i = 0; i < count; i++)
            image[offset + i] = p[size ? at + 5 + i : at + 7];
    }
    return 0; // cut short, or no "EOF" behind the last record
}

// A patch of three 8-byte records, two runs and a plain one, that meet the ends of images up to 16
// bytes long: a run of 1 at 2, 3 bytes at 5, a run of 4 at 9; then "EOF", and bytes never read.
static const bytes seed = {'P', 'A', 'T', 'C', 'H', 0, 0, 2, 0, 0, 0, 1, 0xAA, 0, 0, 5, 0, 3, 1, 2, 3,
                           0, 0, 9, 0, 0, 0, 4, 0xBB, 'E', 'O', 'F', 0, 0, 0, 0, 1};

// The seed, from its first, second, third record or its end marker on, with up to three bits
// turned anywhere (the header, an offset or a size one step off, a count of 0, a huge one, a
// run's size made a plain one's) and now and then cut short. Each patch is exactly as long as its
// bytes, so ASan sees an over-read. Then what a model could get wrong alike: "EOF" ends the patch
// before its offset meets the image's length, in a short image and in one long enough to hold a
// record at 0x454F46.
TEST(ips_apply, agrees_with_the_model_and_reads_the_marker_before_the_length)
{
    std::mt19937 rng(1);
    for (int round = 0; round < 100000; round++) {
        const uint32_t length = 1 + rng() % 16;
        bytes p = seed;
        p.erase(p.begin() + 5, p.begin() + 5 + 8 * (rng() % 4));
        for (uint32_t flips = rng() % 4; flips > 0; flips--)
            p[rng() % p.size()] ^= static_cast<uint8_t>(1 << rng() % 8);
        const bytes patch(p.begin(), p.begin() + (rng() % 4 ? p.size() : rng() % (p.size() + 1)));
        bytes image(length, static_cast<uint8_t>(round)), expected = image;
        ASSERT_EQ(ips_apply(image.data(), patch.data(), length, uint32_t(patch.size())),
                  model_apply(expected, patch)) << round;
        ASSERT_EQ(image, expected) << round;
    }
    // Read as a record, "EOF" would write 0x43 and leave the patch without its end marker.
    const bytes marker_first = {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0x00, 0x01, 0x43};
    for (uint32_t length : {16u, eof_marker + 1})
        EXPECT_EQ(ips_apply(bytes(length).data(), marker_first.data(), length, 11), 1) << length;
}
