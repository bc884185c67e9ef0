// ips_apply_test.cpp -- strict IPS application: every bounds check, in order, and partial effects
#include "ips/ips_apply.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

bytes with_header(const bytes &rest)
{
    bytes patch = {'P', 'A', 'T', 'C', 'H'};
    patch.insert(patch.end(), rest.begin(), rest.end());
    return patch;
}

struct ips_case {
    const char *name;
    uint32_t image_length;
    bytes patch;
    int32_t expect;
    std::vector<std::pair<uint32_t, uint8_t>> written; // the rest of the image stays 0xAA
};

const uint8_t E = 'E', O = 'O', F = 'F';

const ips_case cases[] = {
    {"header and EOF alone", 16, with_header({E, O, F}), 1, {}},
    {"two stray bytes behind header", 16, with_header({0, 0}), 0, {}},
    {"wrong header", 16, bytes{'P', 'A', 'T', 'C', 'X', E, O, F}, 0, {}},
    {"shorter than six bytes", 16, bytes{'P', 'A', 'T', 'C', 'H'}, 0, {}},
    {"anything behind EOF ignored", 16, with_header({E, O, F, 0xFF, 0xFF, 0xFF, 0, 0}), 1, {}},
    {"plain record", 16, with_header({0, 0, 2, 0, 2, 0x11, 0x22, E, O, F}), 1,
     {{2, 0x11}, {3, 0x22}}},
    {"one byte at last image byte", 16, with_header({0, 0, 15, 0, 1, 0x33, E, O, F}), 1,
     {{15, 0x33}}},
    {"two bytes at last image byte", 16, with_header({0, 0, 15, 0, 2, 1, 2, E, O, F}), 0, {}},
    {"plain record at image length", 16, with_header({0, 0, 16, 0, 1, 1, E, O, F}), 0, {}},
    {"run record at image length", 16, with_header({0, 0, 16, 0, 0, 0, 1, 9, E, O, F}), 0, {}},
    {"offset with no size behind it", 16, with_header({0, 0, 1, 0}), 0, {}},
    {"data runs past patch end", 16, with_header({0, 0, 1, 0, 4, 1, 2}), 0, {}},
    {"record ends patch without EOF", 16, with_header({0, 0, 1, 0, 1, 0x44}), 0, {{1, 0x44}}},
    {"run of one byte", 16, with_header({0, 0, 4, 0, 0, 0, 1, 0x55, E, O, F}), 1, {{4, 0x55}}},
    {"run of zero bytes", 16, with_header({0, 0, 4, 0, 0, 0, 0, 0x55, E, O, F}), 0, {}},
    {"run tail cut short", 16, with_header({0, 0, 4, 0, 0, 0, 1}), 0, {}},
    {"run to the last byte", 16, with_header({0, 0, 12, 0, 0, 0, 4, 7, E, O, F}), 1,
     {{12, 7}, {13, 7}, {14, 7}, {15, 7}}},
    {"run past the last byte", 16, with_header({0, 0, 12, 0, 0, 0, 5, 7, E, O, F}), 0, {}},
    {"later record wins an overlap", 16,
     with_header({0, 0, 2, 0, 2, 1, 2, 0, 0, 3, 0, 0, 0, 2, 9, E, O, F}), 1,
     {{2, 1}, {3, 9}, {4, 9}}},
    {"third record fails after two written", 16,
     with_header({0, 0, 0, 0, 1, 0x61, 0, 0, 1, 0, 1, 0x62, 0, 0, 16, 0, 1, 0x63, E, O, F}), 0,
     {{0, 0x61}, {1, 0x62}}},
    {"EOF offset in a short image ends the patch", 16, with_header({E, O, F, 0, 1, 0x77}), 1, {}},
    // A record at 0x454F46 reads as the end marker, so neither it nor the one behind is applied.
    {"EOF offset inside a long image ends the patch", 0x454F46 + 0x100,
     with_header({E, O, F, 0, 1, 0x99, 0, 0, 5, 0, 1, 0x98, E, O, F}), 1, {}},
};

TEST(ips_apply, gives_each_cases_result_and_image)
{
    for (const ips_case &c : cases) {
        bytes image(c.image_length, 0xAA);
        bytes expected = image;
        for (const auto &w : c.written)
            expected[w.first] = w.second;
        EXPECT_EQ(ips_apply(image.data(), c.patch.data(), c.image_length,
                            static_cast<uint32_t>(c.patch.size())),
                  c.expect)
            << c.name;
        EXPECT_EQ(image, expected) << c.name;
    }
}

TEST(ips_apply, largest_record_and_run_at_the_top_of_the_offset_range)
{
    const uint32_t length = 0x1000000;
    bytes image(length, 0);
    bytes records = {0xFF, 0x00, 0x00, 0xFF, 0xFF};
    records.insert(records.end(), 0xFFFF, 0x42);
    records.insert(records.end(), {0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0x43});
    bytes patch = make_patch(records);
    ASSERT_EQ(ips_apply(image.data(), patch.data(), length, static_cast<uint32_t>(patch.size())), 1);
    EXPECT_EQ(image[0xFF0000], 0x42);
    EXPECT_EQ(image[0xFFFFFE], 0x42);
    EXPECT_EQ(image[0xFFFFFF], 0x43);
    EXPECT_EQ(image[0xFEFFFF], 0);
}

} // namespace
