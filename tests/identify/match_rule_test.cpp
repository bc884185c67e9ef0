// match_rule_test.cpp -- each kind of catalogue test at its boundaries, and how a row is evaluated
#include "identify/match_rule.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const uint32_t L = 0x2000; // room for every offset below, with bytes to spare

const uint32_t crcs[] = {0x11111111, 0x00ABCDEF, 0xFEDCBA98};
const uint32_t sums[] = {0x00012345, 0x00023456, 0x00034567};
// A header whose compare length stops short of its end, with a zero byte inside the compared part.
const uint8_t header[] = "SEGA MEGA DRIVE (C)T-01\0TEST";
const uint32_t header_at = 0x100;
const uint32_t compared = 24; // up to and including the zero byte
const uint8_t pair[] = {0x12, 0x34};
const uint8_t entry[] = "ORL1    z   ";
const uint32_t entry_at = 0x14A0;
const uint32_t entry_end = entry_at + dir_entry_size;
const uint8_t block[block_size] = {0xEB, 0x3C, 0x90, 1,  2,  3,  4,  5,  6,  7,  8,
                                   9,    10,   11,   12, 13, 14, 15, 16, 17, 18, 19,
                                   20,   21,   22,   23, 24, 25, 26, 27, 28, 0xFF};
const uint32_t block_at = 0x1800;
const uint32_t block_end = block_at + block_size;

const catalogue_test H = header_equals(header_at, text_of(header), compared);
const catalogue_test W = checksum_word_equals(pair);
const catalogue_test E = dir_entry_equals(entry_at, entry);
const catalogue_test B = block_equals(block_at, block);

using edit = std::function<void(bytes &)>;

// Puts count bytes of data at offset at, as far as the image reaches.
edit put(uint32_t at, const uint8_t *data, uint32_t count)
{
    return [=](bytes &b) {
        std::copy_n(data, std::min<size_t>(count, b.size() - at), b.begin() + at);
    };
}

// The first edit, then one byte set to value.
edit and_set(edit first, uint32_t at, uint8_t value)
{
    return [=](bytes &b) {
        first(b);
        b[at] = value;
    };
}

const edit nothing = [](bytes &) {};
const edit with_header = put(header_at, header, compared);
const edit with_pair = put(checksum_word_offset, pair, 2);
const edit with_entry = put(entry_at, entry, dir_entry_size);
const edit with_block = put(block_at, block, block_size);

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
    {"crc with leading zeros", crc_in(crcs), L, with_crc(crcs[1]), true},
    {"crc last of set", crc_in(crcs), L, with_crc(crcs[2]), true},
    {"crc in no set", crc_in(crcs), L, with_crc(0x11111112), false},

    {"length exact", length_equals(L), L, nothing, true},
    {"length one short", length_equals(L), L - 1, nothing, false},
    {"length one over", length_equals(L), L + 1, nothing, false},
    {"at least, one short", length_at_least(L), L - 1, nothing, false},
    {"at least, exact", length_at_least(L), L, nothing, true},
    {"at least, longer", length_at_least(L), L + 1, nothing, true},

    {"header equal", H, L, with_header, true},
    {"header, last compared byte differs", H, L,
     and_set(with_header, header_at + compared - 1, ' '), false},
    {"header, first byte past the compare length differs", H, L,
     and_set(with_header, header_at + compared, 'X'), true},
    {"header, letter case differs", H, L, and_set(with_header, header_at + 1, 'e'), false},
    {"header, image ends one byte early", H, header_at + compared - 1, with_header, false},
    {"header, image ends with it", H, header_at + compared, with_header, true},

    {"checksum word equal", W, L, with_pair, true},
    {"checksum high byte differs", W, L, and_set(with_pair, 0x18E, pair[0] ^ 1), false},
    {"checksum low byte differs", W, L, and_set(with_pair, 0x18F, pair[1] ^ 0x80), false},

    {"sum first of list", sum_in(sums), L, with_sum(sums[0]), true},
    {"sum last of list", sum_in(sums), L, with_sum(sums[2]), true},
    {"sum one over", sum_in(sums), L, with_sum(sums[2] + 1), false},

    {"entry equal, NUL after it", E, L, with_entry, true},
    {"entry in other letter case", E, L,
     put(entry_at, reinterpret_cast<const uint8_t *>("orl1    Z   "), 12), true},
    {"entry followed by a character", E, L, and_set(with_entry, entry_end, 'A'), false},
    {"entry with attribute 0", E, L, and_set(with_entry, entry_at + 11, 0), false},
    {"entry, NUL where a space belongs", E, L, and_set(with_entry, entry_at + 4, 0), false},
    {"entry with no room for its NUL", E, entry_end, with_entry, false},
    {"entry and its NUL end the image", E, entry_end + 1, with_entry, true},

    {"block equal", B, L, with_block, true},
    {"block, last byte differs", B, L, and_set(with_block, block_end - 1, 0xFE), false},
    {"block ends the image", B, block_end, with_block, true},
    {"image ends inside the block", B, block_end - 1, with_block, false},
    {"image ends before the block", B, block_at, nothing, false},
};

image_facts facts_of(const bytes &image)
{
    return {image.data(), static_cast<uint32_t>(image.size()), zlib_crc32(image), 0, 0};
}

// Each image is exactly as long as its case says, so a read past its end trips AddressSanitizer.
TEST(test_kinds, hold_exactly_at_their_boundaries)
{
    for (const kind_case &c : kind_cases) {
        bytes image(c.length, 0);
        c.make(image);
        catalogue_rule rule = {&c.test, 1, ask_user()};
        image_facts facts = facts_of(image);
        EXPECT_EQ(rule_holds(&rule, &facts), c.holds ? 1 : 0) << c.name;
    }
}

TEST(rows, sum_the_image_only_when_a_sum_test_is_reached_and_only_once)
{
    const bytes image(L, 1); // its sum is L
    const uint32_t real[] = {L};
    const uint32_t kept[] = {0x00C0FFEE};
    const catalogue_test failing_first[] = {length_equals(L + 1), sum_in(real)};
    const catalogue_test real_sum[] = {sum_in(real)};
    const catalogue_test kept_sum[] = {sum_in(kept)};
    const catalogue_rule stops_early = {failing_first, 2, ask_user()};
    const catalogue_rule rule_real = {real_sum, 1, ask_user()};
    const catalogue_rule rule_kept = {kept_sum, 1, ask_user()};

    image_facts facts = facts_of(image);
    EXPECT_EQ(rule_holds(&stops_early, &facts), 0);
    EXPECT_EQ(facts.sum_known, 0) << "a row stops at its first failing test";
    EXPECT_EQ(rule_holds(&rule_real, &facts), 1);
    EXPECT_EQ(facts.sum_known, 1);
    EXPECT_EQ(facts.sum, L);
    facts.sum = kept[0]; // a sum already known is used as it stands
    EXPECT_EQ(rule_holds(&rule_kept, &facts), 1);
    EXPECT_EQ(rule_holds(&rule_real, &facts), 0);
}

} // namespace
