// ips_apply_test.cpp -- strict IPS application agrees with a plain reading of the format
#include "ips/ips_apply.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

static const uint32_t eof_marker = 0x454F46; // "EOF" where an offset would stand

// The format read plainly, its numbers big-endian. Every check of a record comes before any of
// its bytes is written, which leaves the same result and image as checking in the format's order.
static int32_t model_apply(bytes &image, const bytes &p)
{
    if (p.size() < 6 || std::string(p.begin(), p.begin() + 5) != "PATCH")
        return 0;
    for (size_t at = 5;;) {
        const uint32_t offset = at + 3 <= p.size() ? p[at] << 16 | p[at + 1] << 8 | p[at + 2] : 0;
        if (at + 3 > p.size() || offset == eof_marker) // too few bytes for an offset, or the end
            return at + 3 <= p.size();
        const uint32_t size = at + 5 <= p.size() ? p[at + 3] << 8 | p[at + 4] : 0;
        const size_t end = at + 5 + (size ? size : 3); // a run has a count and a fill byte
        const uint32_t count = size ? size : end <= p.size() ? p[at + 5] << 8 | p[at + 6] : 0;
        if (end > p.size() || count == 0 || offset + count > image.size())
            return 0; // the record is cut short, empty, or reaches past the image
        for (uint32_t i = 0; i < count; i++)
            image[offset + i] = p[size ? at + 5 + i : at + 7];
        if ((at = end) == p.size())
            return 0; // no "EOF" behind the last record
    }
}

// Patches of records that mostly end a byte short of, at or past the image's end, or start at or
// past it; now and then a huge or zero count, the marker as an offset, a wrong header, a missing
// end marker or a cut. Each patch is exactly as long as its bytes, so ASan sees an over-read.
// Then what a model could get wrong alike: "EOF" ends the patch before its offset meets the
// image's length, in a short image and in one long enough to hold a record at 0x454F46.
TEST(ips_apply, agrees_with_the_model_and_reads_the_marker_before_the_length)
{
    std::mt19937 rng(1);
    auto below = [&](uint32_t n) { return static_cast<uint32_t>(rng() % n); };
    for (int round = 0; round < 30000; round++) {
        const uint32_t length = 1 + below(700);
        bytes p = {'P', 'A', 'T', 'C', 'H'};
        auto put = [&](uint64_t value, int width) {
            while (width--)
                p.push_back(static_cast<uint8_t>(value >> 8 * width));
        };
        for (uint32_t records = below(5); records > 0; records--) {
            const uint32_t count = below(8) ? 1 + below(length) : below(2) ? below(0x10000) : 0;
            // A record ending a byte short of, at or past the image's end, or starting at or past
            // it; or else at any offset, or at the marker's.
            const uint32_t near = below(3) ? std::max(length + below(3) - 1, count) - count
                                           : below(length + 2);
            put(below(5) ? near : below(2) ? rng() >> 8 : eof_marker, 3);
            const bool run = below(3) == 0; // size 0, then the count and the fill byte
            put(run ? uint64_t{count} << 8 | below(256) : count, run ? 5 : 2);
            p.insert(p.end(), run ? 0 : std::min(count, length + 2), static_cast<uint8_t>(rng()));
        }
        const uint8_t tail[] = {'E', 'O', 'F', 0, 0, 0, 0, 1}; // the marker, then bytes never read
        p.insert(p.end(), tail, tail + (below(4) ? 3 + 5 * below(2) : 0));
        p[below(5)] ^= static_cast<uint8_t>(below(10) ? 0 : 1 << below(8));
        const bytes patch(p.begin(), p.begin() + (below(6) ? p.size() : below(p.size() + 1)));
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
