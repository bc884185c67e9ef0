// match_rule_test.cpp -- each kind of catalogue test at its boundaries, and how a row is evaluated
#include "identify/match_rule.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <numeric>

namespace {

const uint32_t base_length = 0x2000; // room for every offset below, with bytes to spare

const uint32_t crcs[] = {0x11111111, 0x00ABCDEF, 0xFEDCBA98};
const uint32_t sums[] = {0x00012345, 0x00023456, 0x00034567};
// A header whose compare length stops short of its end, with a zero byte inside the compared part.
const uint8_t header[] = "SEGA MEGA DRIVE (C)T-01\0TEST";
const uint32_t header_at = 0x100;
const uint32_t header_compared = 24; // up to and including the zero byte
const uint8_t pair[] = {0x12, 0x34};
const uint8_t entry[] = "ORL1    z   ";
const uint32_t entry_at = 0x14A0;
const uint8_t block[block_size] = {0xEB, 0x3C, 0x90, 1,  2,  3,  4,  5,  6,  7,  8,
                                   9,    10,   11,   12, 13, 14, 15, 16, 17, 18, 19,
                                   20,   21,   22,   23, 24, 25, 26, 27, 28, 0xFF};
const uint32_t block_at = 0x1800;

using edit = std::function<void(bytes &)>;

void put(bytes &image, uint32_t at, const uint8_t *data, uint32_t count)
{
    std::copy_n(data, count, image.begin() + at);
}

edit with_header = [](bytes &b) { put(b, header_at, header, header_compared); };
edit with_pair = [](bytes &b) { put(b, 0x18E, pair, 2); };
edit with_entry = [](bytes &b) { put(b, entry_at, entry, dir_entry_size); };
edit with_block = [](bytes &b) { put(b, block_at, block, block_size); };

edit then(edit first, std::function<void(bytes &)> second)
{
    return [=](bytes &b) {
        first(b);
        second(b);
    };
}

edit with_crc(uint32_t crc)
{
    return [=](bytes &b) { force_crc(b, crc); };
}

edit with_sum(uint32_t sum)
{
    return [=](bytes &b) { set_sum_from_0x200(b, sum); };
}

struct kind_case {
    const char *name;
    catalogue_test test;
    uint32_t length; // of the image the edit is made on
    edit make;
    bool holds;
};

const kind_case kind_cases[] = {
    {"crc first of set", crc_in(crcs), base_length, with_crc(crcs[0]), true},
    {"crc with leading zeros", crc_in(crcs), base_length, with_crc(crcs[1]), true},
    {"crc last of set", crc_in(crcs), base_length, with_crc(crcs[2]), true},
    {"crc in no set", crc_in(crcs), base_length, with_crc(0x11111112), false},

    {"length exact", length_equals(base_length), base_length, [](bytes &) {}, true},
    {"length one short", length_equals(base_length), base_length - 1, [](bytes &) {}, false},
    {"length one over", length_equals(base_length), base_length + 1, [](bytes &) {}, false},
    {"at least, one short", length_at_least(base_length), base_length - 1, [](bytes &) {}, false},
    {"at least, exact", length_at_least(base_length), base_length, [](bytes &) {}, true},
    {"at least, longer", length_at_least(base_length), base_length + 1, [](bytes &) {}, true},

    {"header equal", header_equals(header_at, text_of(header), header_compared), base_length,
     with_header, true},
    {"header, last compared byte differs",
     header_equals(header_at, text_of(header), header_compared), base_length,
     then(with_header, [](bytes &b) { b[header_at + header_compared - 1] = ' '; }), false},
    {"header, first byte past the compare length differs",
     header_equals(header_at, text_of(header), header_compared), base_length,
     then(with_header, [](bytes &b) { b[header_at + header_compared] = 'X'; }), true},
    {"header, letter case differs", header_equals(header_at, text_of(header), header_compared),
     base_length, then(with_header, [](bytes &b) { b[header_at + 1] = 'e'; }), false},
    {"header, image ends one byte early",
     header_equals(header_at, text_of(header), header_compared),
     header_at + header_compared - 1,
     [](bytes &b) { put(b, header_at, header, header_compared - 1); }, false},
    {"header, image ends with it", header_equals(header_at, text_of(header), header_compared),
     header_at + header_compared, with_header, true},
    {"header at 0x150", header_equals(0x150, text_of(header), 8), base_length,
     [](bytes &b) { put(b, 0x150, header, 8); }, true},

    {"checksum word equal", checksum_word_equals(pair), base_length, with_pair, true},
    {"checksum high byte differs", checksum_word_equals(pair), base_length,
     then(with_pair, [](bytes &b) { b[0x18E] ^= 1; }), false},
    {"checksum low byte differs", checksum_word_equals(pair), base_length,
     then(with_pair, [](bytes &b) { b[0x18F] ^= 0x80; }), false},
    {"checksum bytes swapped", checksum_word_equals(pair), base_length,
     [](bytes &b) {
         b[0x18E] = pair[1];
         b[0x18F] = pair[0];
     },
     false},

    {"sum first of list", sum_in(sums), base_length, with_sum(sums[0]), true},
    {"sum last of list", sum_in(sums), base_length, with_sum(sums[2]), true},
    {"sum one over", sum_in(sums), base_length, with_sum(sums[2] + 1), false},

    {"entry equal, NUL after it", dir_entry_equals(entry_at, entry), base_length, with_entry,
     true},
    {"entry in other letter case", dir_entry_equals(entry_at, entry), base_length,
     [](bytes &b) { put(b, entry_at, reinterpret_cast<const uint8_t *>("orl1    Z   "), 12); },
     true},
    {"entry followed by a character", dir_entry_equals(entry_at, entry), base_length,
     then(with_entry, [](bytes &b) { b[entry_at + dir_entry_size] = 'A'; }), false},
    {"entry with attribute 0", dir_entry_equals(entry_at, entry), base_length,
     then(with_entry, [](bytes &b) { b[entry_at + 11] = 0; }), false},
    {"entry, digit differs", dir_entry_equals(entry_at, entry), base_length,
     then(with_entry, [](bytes &b) { b[entry_at + 3] = '2'; }), false},
    {"entry, NUL where a space belongs", dir_entry_equals(entry_at, entry), base_length,
     then(with_entry, [](bytes &b) { b[entry_at + 4] = 0x00; }), false},
    {"entry with no room for its NUL", dir_entry_equals(entry_at, entry),
     entry_at + dir_entry_size, with_entry, false},
    {"entry and its NUL end the image", dir_entry_equals(entry_at, entry),
     entry_at + dir_entry_size + 1, with_entry, true},

    {"block equal", block_equals(block_at, block), base_length, with_block, true},
    {"block, last byte differs", block_equals(block_at, block), base_length,
     then(with_block, [](bytes &b) { b[block_at + block_size - 1] = 0xFE; }), false},
    {"block ends the image", block_equals(block_at, block), block_at + block_size, with_block,
     true},
    {"image ends inside the block", block_equals(block_at, block), block_at + block_size - 1,
     [](bytes &b) { put(b, block_at, block, block_size - 1); }, false},
    {"image ends before the block", block_equals(block_at, block), block_at, [](bytes &) {},
     false},
};

void PrintTo(const kind_case &c, std::ostream *os)
{
    *os << c.name;
}

class test_kinds : public testing::TestWithParam<kind_case> {};

TEST_P(test_kinds, hold_exactly_at_their_boundaries)
{
    const kind_case &c = GetParam();
    bytes image(c.length, 0);
    c.make(image);
    ASSERT_EQ(image.size(), c.length) << "the edit must not change the length";
    catalogue_test tests[] = {c.test};
    catalogue_rule rule = {tests, 1, ask_user()};
    image_facts facts = {image.data(), c.length, zlib_crc32(image), 0, 0};
    EXPECT_EQ(rule_holds(&rule, &facts), c.holds ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(each, test_kinds, testing::ValuesIn(kind_cases),
                         [](const testing::TestParamInfo<kind_case> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p; p++)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// ---- Rows --------------------------------------------------------------------------------------

const uint32_t row_sums[] = {0x00012345};

TEST(rows, stop_at_the_first_failing_test_and_never_sum_the_image_for_a_row_that_failed)
{
    bytes image(base_length, 1);
    const catalogue_test tests[] = {length_equals(base_length + 1), sum_in(row_sums)};
    catalogue_rule rule = {tests, 2, ask_user()};
    image_facts facts = {image.data(), base_length, zlib_crc32(image), 0, 0};
    EXPECT_EQ(rule_holds(&rule, &facts), 0);
    EXPECT_EQ(facts.sum_known, 0);
}

TEST(rows, work_out_the_byte_sum_once_and_keep_it_for_the_rest_of_the_walk)
{
    bytes image(base_length, 1);
    const uint32_t true_sum = base_length; // every byte is 1
    const uint32_t kept[] = {0x00C0FFEE};
    const uint32_t real[] = {true_sum};
    const catalogue_test first[] = {sum_in(real)};
    const catalogue_test second[] = {sum_in(kept)};
    catalogue_rule rule_real = {first, 1, ask_user()};
    catalogue_rule rule_kept = {second, 1, ask_user()};

    image_facts facts = {image.data(), base_length, zlib_crc32(image), 0, 0};
    EXPECT_EQ(rule_holds(&rule_real, &facts), 1);
    EXPECT_EQ(facts.sum_known, 1);
    EXPECT_EQ(facts.sum, true_sum);

    // A sum already known is used as it stands: the image is not summed again.
    facts.sum = kept[0];
    EXPECT_EQ(rule_holds(&rule_kept, &facts), 1);
    EXPECT_EQ(rule_holds(&rule_real, &facts), 0);
}

TEST(rows, need_every_test_to_hold_and_the_first_matching_row_wins)
{
    bytes image(base_length, 0);
    with_header(image);
    with_pair(image);
    const uint32_t other_sums[] = {7};
    const catalogue_test header_only[] = {header_equals(header_at, text_of(header),
                                                        header_compared)};
    const catalogue_test header_and_wrong_sum[] = {
        header_equals(header_at, text_of(header), header_compared), sum_in(other_sums)};
    const catalogue_test header_and_pair[] = {
        header_equals(header_at, text_of(header), header_compared), checksum_word_equals(pair)};
    const catalogue_rule rules[] = {
        {header_and_wrong_sum, 2, ask_user()},
        {header_and_pair, 2, ask_user()},
        {header_only, 1, ask_user()},
    };
    image_facts facts = {image.data(), base_length, zlib_crc32(image), 0, 0};
    EXPECT_EQ(first_matching_rule(rules, 3, &facts), 1);
    EXPECT_EQ(first_matching_rule(rules + 2, 1, &facts), 0);
    EXPECT_EQ(first_matching_rule(rules, 1, &facts), -1);
}

} // namespace
