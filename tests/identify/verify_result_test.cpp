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

uint32_t sum_of(const bytes &image)
{
    return std::accumulate(image.begin(), image.end(), uint32_t{0});
}

// 64 bytes of noise, the last four set to give the CRC when one is asked for.
bytes test_image(bool crc_zero, uint32_t seed = 7)
{
    std::mt19937 generator(seed);
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
    std::vector<std::string> boxes; // "O" the outdated box, "U" the unrecognised box and clipboard
    int32_t already_patched;
};

const verify_case cases[] = {
    {"no list matches", false, {1, 2}, {3}, {4}, {5, 6, 7, 8}, 1, {"U"}, 0},
    {"current sum", false, {}, {}, {S}, {}, 1, {}, 1},
    {"current sum late in its list", false, {}, {}, {1, 2, S}, {}, 1, {}, 1},
    {"current sum beats outdated crc", false, {}, {C}, {S}, {}, 1, {}, 1},
    {"current sum beats crc 0", true, {}, {}, {S}, {}, 1, {}, 1},
    {"current sum beats outdated sum", false, {}, {}, {S}, {S, 2, 3, 4}, 1, {}, 1},
    {"first outdated sum", false, {}, {}, {}, {S, 0x20000000, 0x30000000, 0x40000000}, 0, {"O"}, 1},
    {"second outdated sum", false, {}, {}, {}, {1, S, 0x30000000, 0x40000000}, 0, {"O"}, 0},
    {"third outdated sum", false, {}, {}, {}, {1, 2, S, 0x40000000}, 0, {"O"}, 1},
    {"fourth outdated sum", false, {}, {}, {}, {1, 2, 3, S}, 0, {"O"}, 0},
    {"outdated sum beats current crc", false, {C}, {}, {}, {1, S, 3, 4}, 0, {"O"}, 1},
    {"current crc", false, {C}, {}, {}, {}, 1, {}, 1},
    {"current crc last in its list", false, {1, 2, 3, C}, {}, {}, {}, 1, {}, 1},
    {"current crc beats outdated crc", false, {C}, {C}, {}, {}, 1, {}, 1},
    {"outdated crc", false, {}, {1, C}, {}, {}, 0, {"O"}, 1},
    {"crc 0 in no list", true, {1}, {2}, {3}, {4, 5, 6, 7}, 0, {"O"}, 1},
    {"crc 0 tested after the current crcs", true, {0}, {}, {}, {}, 1, {}, 1},
    {"empty lists", false, {}, {}, {}, {}, 1, {"U"}, 0},
    {"short outdated sum list", false, {}, {}, {}, {1}, 1, {"U"}, 0},
};

void PrintTo(const verify_case &c, std::ostream *os)
{
    *os << c.name;
}

class verify_cases : public testing::TestWithParam<verify_case> {
protected:
    void SetUp() override { script_reset(); }
};

TEST_P(verify_cases, follow_the_order_of_the_tests)
{
    const verify_case &c = GetParam();
    const bytes image = test_image(c.crc_zero);
    const uint32_t crc = zlib_crc32(image);
    const uint32_t sum = sum_of(image);
    ASSERT_EQ(crc == 0, c.crc_zero);

    auto resolve = [&](std::vector<uint32_t> list) {
        for (uint32_t &v : list)
            v = v == S ? sum : v == C ? crc : v;
        return list;
    };
    const std::vector<uint32_t> cc = resolve(c.current_crcs), oc = resolve(c.outdated_crcs),
                                cs = resolve(c.current_sums), os = resolve(c.outdated_sums);
    const result_signature_lists lists = {
        cc.data(), static_cast<uint32_t>(cc.size()), oc.data(), static_cast<uint32_t>(oc.size()),
        cs.data(), static_cast<uint32_t>(cs.size()), os.data(), static_cast<uint32_t>(os.size())};
    const uint32_t length = static_cast<uint32_t>(image.size());

    EXPECT_EQ(is_already_patched_against(image.data(), length, &lists), c.already_patched);
    EXPECT_TRUE(script_events().empty()) << "the already-patched test shows nothing";

    EXPECT_EQ(verify_result_against(image.data(), length, &lists), c.verified);
    std::vector<std::string> expected;
    for (const std::string &box : c.boxes) {
        if (box == "O") {
            expected.push_back(outdated_box);
        } else {
            expected.push_back(unrecognised_box);
            expected.push_back("clipboard||" + crc_text(crc));
        }
    }
    EXPECT_EQ(script_transcript(), expected);
}

INSTANTIATE_TEST_SUITE_P(test_lists, verify_cases, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<verify_case> &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

TEST(verify_result, puts_the_crc_on_the_clipboard_in_eight_upper_case_digits)
{
    const std::pair<uint32_t, const char *> crcs[] = {
        {0x0000ABCD, "0x0000ABCD"}, {0x00000001, "0x00000001"}, {0xDEADBEEF, "0xDEADBEEF"}};
    const result_signature_lists none = {};
    for (const auto &[crc, text] : crcs) {
        script_reset();
        bytes image = test_image(false);
        force_crc(image, crc);
        EXPECT_EQ(verify_result_against(image.data(), 64, &none), 1);
        EXPECT_EQ(script_transcript(),
                  (std::vector<std::string>{unrecognised_box, std::string("clipboard||") + text}));
    }
}

TEST(verify_result, passes_an_unrecognised_image_even_when_the_clipboard_fails)
{
    script_reset();
    script_clipboard_fails(true);
    const bytes image = test_image(false);
    const result_signature_lists none = {};
    EXPECT_EQ(verify_result_against(image.data(), 64, &none), 1);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{unrecognised_box, "stdout||Error opening clipboard"}));
}

// The built-in lists, entry by entry: each signature on an image of its own.
TEST(built_in_lists, decide_as_their_names_say)
{
    struct expectation {
        const uint32_t *values;
        uint32_t count;
        bool is_crc;
        int32_t verified;
        bool outdated_box;
    };
    const expectation lists[] = {
        {current_result_crcs, current_result_crc_count, true, 1, false},
        {outdated_result_crcs, outdated_result_crc_count, true, 0, true},
        {current_result_sums, current_result_sum_count, false, 1, false},
        {outdated_result_sums, outdated_result_sum_count, false, 0, true},
    };
    for (const expectation &list : lists)
        for (uint32_t i = 0; i < list.count; i++) {
            script_reset();
            bytes image = test_image(false);
            if (list.is_crc)
                force_crc(image, list.values[i]);
            else
                image = image_with_sum(list.values[i], 64);
            const uint32_t length = static_cast<uint32_t>(image.size());
            // Of the outdated sums, only the first and the third mark a source as patched.
            const int32_t patched =
                list.values == outdated_result_sums ? (i == 0 || i == 2 ? 1 : 0) : 1;
            EXPECT_EQ(is_already_patched(image.data(), length), patched) << list.values[i];
            EXPECT_EQ(verify_result(image.data(), length), list.verified) << list.values[i];
            const std::vector<std::string> boxes =
                list.outdated_box ? std::vector<std::string>{outdated_box}
                                  : std::vector<std::string>{};
            EXPECT_EQ(script_transcript(), boxes) << list.values[i];
        }
}

TEST(built_in_lists, crc_0_is_outdated_and_a_plain_image_is_neither)
{
    script_reset();
    bytes zero = test_image(true);
    EXPECT_EQ(is_already_patched(zero.data(), 64), 1);
    EXPECT_EQ(verify_result(zero.data(), 64), 0);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{outdated_box});

    script_reset();
    bytes plain = test_image(false);
    EXPECT_EQ(is_already_patched(plain.data(), 64), 0);
    EXPECT_EQ(verify_result(plain.data(), 64), 1);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{unrecognised_box,
                                        "clipboard||" + crc_text(zlib_crc32(plain))}));
}

} // namespace
