// verify_result_test.cpp -- the order of the signature tests, the boxes, the clipboard, and the
// already-patched test, against small lists of the tests' own and against the built-in ones
#include "identify/catalogue_data.h"
#include "identify/verify_result.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {

// Stand-ins in a case's lists for the test image's own signatures.
const uint32_t S = 0xFFFF0001; // the image's byte sum
const uint32_t C = 0xFFFF0002; // the image's CRC-32

// 64 bytes of noise, the last four set to give the CRC when one is asked for.
bytes test_image(bool crc_zero = false)
{
    std::mt19937 generator(7);
    bytes image(64);
    for (uint8_t &b : image)
        b = static_cast<uint8_t>(generator());
    if (crc_zero)
        force_crc(image, 0);
    return image;
}

struct verify_case {
    const char *name;
    bool crc_zero;
    std::vector<uint32_t> current_crcs, outdated_crcs, current_sums, outdated_sums;
    int32_t verified;
    char box; // 'O' the outdated box, 'U' the unrecognised box and the clipboard, 0 none
    int32_t already_patched;
};

const verify_case cases[] = {
    {"no list matches", false, {1, 2}, {3}, {4}, {5, 6, 7, 8}, 1, 'U', 0},
    {"current sum", false, {}, {}, {S}, {}, 1, 0, 1},
    {"current sum beats outdated crc", false, {}, {C}, {S}, {}, 1, 0, 1},
    {"current sum beats crc 0", true, {}, {}, {S}, {}, 1, 0, 1},
    {"current sum beats outdated sum", false, {}, {}, {S}, {S, 2, 3, 4}, 1, 0, 1},
    {"first outdated sum", false, {}, {}, {}, {S, 0x20000000, 0x30000000, 0x40000000}, 0, 'O', 1},
    {"second outdated sum", false, {}, {}, {}, {1, S, 0x30000000, 0x40000000}, 0, 'O', 0},
    {"third outdated sum", false, {}, {}, {}, {1, 2, S, 0x40000000}, 0, 'O', 1},
    {"fourth outdated sum", false, {}, {}, {}, {1, 2, 3, S}, 0, 'O', 0},
    {"outdated sum beats current crc", false, {C}, {}, {}, {1, S, 3, 4}, 0, 'O', 1},
    {"current crc last in its list", false, {1, 2, 3, C}, {}, {}, {}, 1, 0, 1},
    {"current crc beats outdated crc", false, {C}, {C}, {}, {}, 1, 0, 1},
    {"outdated crc", false, {}, {1, C}, {}, {}, 0, 'O', 1},
    {"crc 0 in no list", true, {1}, {2}, {3}, {4, 5, 6, 7}, 0, 'O', 1},
    {"crc 0 tested after the current crcs", true, {0}, {}, {}, {}, 1, 0, 1},
    {"short outdated sum list", false, {}, {}, {}, {1}, 1, 'U', 0},
};

TEST(verify_result, follows_the_order_of_the_tests_in_every_case)
{
    for (const verify_case &c : cases) {
        SCOPED_TRACE(c.name);
        script_reset();
        const bytes image = test_image(c.crc_zero);
        const uint32_t crc = zlib_crc32(image);
        const uint32_t sum = std::accumulate(image.begin(), image.end(), 0u);
        ASSERT_EQ(crc == 0, c.crc_zero);

        std::vector<uint32_t> v[] = {c.current_crcs, c.outdated_crcs, c.current_sums,
                                     c.outdated_sums};
        for (std::vector<uint32_t> &list : v)
            for (uint32_t &value : list)
                value = value == S ? sum : value == C ? crc : value;
        auto n = [&](int i) { return static_cast<uint32_t>(v[i].size()); };
        const result_signature_lists lists = {v[0].data(), n(0), v[1].data(), n(1),
                                              v[2].data(), n(2), v[3].data(), n(3)};

        EXPECT_EQ(is_already_patched_against(image.data(), 64, &lists), c.already_patched);
        EXPECT_TRUE(script_events().empty()) << "the already-patched test shows nothing";

        EXPECT_EQ(verify_result_against(image.data(), 64, &lists), c.verified);
        std::vector<std::string> expected;
        if (c.box == 'O')
            expected = {outdated_box};
        if (c.box == 'U')
            expected = {unrecognised_box, "clipboard||" + crc_text(crc)};
        EXPECT_EQ(script_transcript(), expected);
    }
}

TEST(verify_result, copies_the_crc_in_eight_upper_case_digits_and_passes_if_the_clipboard_fails)
{
    const std::pair<uint32_t, const char *> crcs[] = {
        {0x0000ABCD, "clipboard||0x0000ABCD"},
        {0xDEADBEEF, "clipboard||0xDEADBEEF"},
        {0x00000001, "stdout||Error opening clipboard"}, // the clipboard fails for this one
    };
    const result_signature_lists none = {};
    for (const auto &[crc, line] : crcs) {
        script_reset();
        script_clipboard_fails(crc == 1);
        bytes image = test_image();
        force_crc(image, crc);
        EXPECT_EQ(verify_result_against(image.data(), 64, &none), 1);
        EXPECT_EQ(script_transcript(), (std::vector<std::string>{unrecognised_box, line}));
    }
}

// The built-in lists, entry by entry: each signature on an image of its own.
TEST(built_in_lists, decide_as_their_names_say)
{
    const struct {
        const uint32_t *values;
        uint32_t count;
        bool is_crc;
        int32_t verified;
    } lists[] = {
        {current_result_crcs, current_result_crc_count, true, 1},
        {outdated_result_crcs, outdated_result_crc_count, true, 0},
        {current_result_sums, current_result_sum_count, false, 1},
        {outdated_result_sums, outdated_result_sum_count, false, 0},
    };
    const std::vector<std::string> outdated = {outdated_box};
    for (const auto &list : lists)
        for (uint32_t i = 0; i < list.count; i++) {
            script_reset();
            bytes image = test_image();
            if (list.is_crc)
                force_crc(image, list.values[i]);
            else
                image = image_with_sum(list.values[i], 64);
            const uint32_t length = static_cast<uint32_t>(image.size());
            // Of the outdated sums, only the first and the third mark a source as patched.
            const int32_t patched = list.values != outdated_result_sums || i == 0 || i == 2;
            EXPECT_EQ(is_already_patched(image.data(), length), patched) << list.values[i];
            EXPECT_EQ(verify_result(image.data(), length), list.verified) << list.values[i];
            EXPECT_EQ(script_transcript(), list.verified ? std::vector<std::string>{} : outdated)
                << list.values[i];
        }
}

} // namespace
