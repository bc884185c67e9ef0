// title_catalogue_test.cpp -- the built-in catalogue holds the data it should, every row can be
// reached and leads to its title's outcome, and rows that share data decide as they should
#include "identify/catalogue_data.h"
#include "identify/match_rule.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Every test of one kind in the catalogue, with the row (counted from 1) it stands in.
std::vector<std::pair<uint32_t, const catalogue_test *>> tests_of(test_kind kind)
{
    std::vector<std::pair<uint32_t, const catalogue_test *>> found;
    for (uint32_t r = 0; r < title_catalogue_rows; r++)
        for (uint32_t i = 0; i < title_catalogue[r].test_count; i++)
            if (title_catalogue[r].tests[i].kind == kind)
                found.push_back({r + 1, &title_catalogue[r].tests[i]});
    return found;
}

std::vector<uint32_t> values_of(test_kind kind, uint32_t first_row, uint32_t last_row)
{
    std::vector<uint32_t> values;
    for (auto [row, test] : tests_of(kind))
        if (row >= first_row && row <= last_row)
            values.insert(values.end(), test->values, test->values + test->value_count);
    return values;
}

std::string stored_string(const catalogue_test *test)
{
    return std::string(reinterpret_cast<const char *>(test->stored), test->stored_length);
}

TEST(title_catalogue, holds_68_crcs_and_46_sums_where_they_belong)
{
    EXPECT_EQ(values_of(test_kind::crc_in, 1, 15).size(), 53u);
    EXPECT_EQ(values_of(test_kind::crc_in, 18, 25).size(), 15u);
    EXPECT_EQ(values_of(test_kind::crc_in, 1, title_catalogue_rows).size(), 68u);
    EXPECT_EQ(values_of(test_kind::sum_in, 26, 47).size(), 46u);
    EXPECT_EQ(values_of(test_kind::sum_in, 1, title_catalogue_rows).size(), 46u);
}

TEST(catalogue_data, no_signature_occurs_twice_or_in_another_list_and_outdated_sums_ascend)
{
    std::vector<uint32_t> all = values_of(test_kind::crc_in, 1, title_catalogue_rows);
    std::vector<uint32_t> sums = values_of(test_kind::sum_in, 1, title_catalogue_rows);
    all.insert(all.end(), sums.begin(), sums.end());
    const std::pair<const uint32_t *, uint32_t> others[] = {
        {known_bad_source_crcs, known_bad_source_crc_count},
        {current_result_crcs, current_result_crc_count},
        {outdated_result_crcs, outdated_result_crc_count},
        {current_result_sums, current_result_sum_count},
        {outdated_result_sums, outdated_result_sum_count},
    };
    for (auto [list, count] : others)
        all.insert(all.end(), list, list + count);
    EXPECT_EQ(all.size(), 68u + 46u + 3u + 22u + 10u + 9u + 4u);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0u), 0) << "a short list is filled with zeros";
    std::sort(all.begin(), all.end());
    auto twice = std::adjacent_find(all.begin(), all.end());
    EXPECT_EQ(twice, all.end()) << std::hex << (twice == all.end() ? 0 : *twice);
    for (uint32_t i = 1; i < outdated_result_sum_count; i++)
        EXPECT_LT(outdated_result_sums[i - 1], outdated_result_sums[i]) << i;
}

// Every header is a 142-byte text at 0x100 compared whole, but for the rows named here; the text
// at 0x150 starts with the overseas title.
TEST(title_catalogue, header_texts_are_shaped_shared_and_laid_out_like_cartridge_headers)
{
    const std::map<uint32_t, uint32_t> short_texts = {{31, 32}, {32, 32}, {37, 44}, {39, 62},
                                                      {43, 80}};
    std::vector<uint32_t> rows;
    std::map<std::string, std::set<uint32_t>> rows_of_text;
    for (auto [row, test] : tests_of(test_kind::header_equals)) {
        const std::string text = stored_string(test);
        rows.push_back(row);
        rows_of_text[text].insert(row);
        const auto shorter = short_texts.find(row);
        EXPECT_EQ(text.size(), shorter == short_texts.end() ? 142 : shorter->second) << row;
        EXPECT_EQ(test->length, row == 45 ? 33 : text.size()) << "compare length, row " << row;
        EXPECT_EQ(test->offset, row == 39 ? 0x150u : 0x100u) << row;
        if (row != 39) {
            EXPECT_EQ(text.substr(0, 5), "SEGA ") << "system name, row " << row;
            EXPECT_EQ(text.substr(16, 3), "(C)") << "maker and date, row " << row;
        }
        if (text.size() == 142 || row == 39) {
            EXPECT_EQ(text.substr(row == 39 ? 48 : 128, 3), "GM ") << "serial, row " << row;
        }
    }
    EXPECT_EQ(rows, (std::vector<uint32_t>{26, 27, 28, 29, 30, 31, 32, 33, 34, 36, 37, 38, 39, 40,
                                           41, 43, 44, 45, 46}));
    EXPECT_EQ(rows_of_text.size(), 14u);
    std::set<std::set<uint32_t>> shared;
    for (const auto &entry : rows_of_text)
        if (entry.second.size() > 1)
            shared.insert(entry.second);
    EXPECT_EQ(shared, (std::set<std::set<uint32_t>>{{31, 32}, {33, 34}, {40, 41}, {44, 45, 46}}));

    // Row 27's title fields are filled out with zeros; every other text uses spaces.
    const std::string zero_filled = stored_string(&title_catalogue[26].tests[0]);
    EXPECT_EQ(zero_filled.substr(32 + 12, 36), std::string(36, '\0'));
    EXPECT_EQ(zero_filled.substr(80 + 12, 36), std::string(36, '\0'));
    const std::string space_filled = stored_string(&title_catalogue[25].tests[0]);
    EXPECT_EQ(space_filled.substr(32 + 12, 36), std::string(36, ' '));
}

TEST(title_catalogue, checksum_words_stand_in_rows_26_27_28_33_34_and_26_27_share_one)
{
    std::map<uint32_t, std::string> pair_of_row;
    for (auto [row, test] : tests_of(test_kind::checksum_word_equals))
        pair_of_row[row] = stored_string(test);
    ASSERT_EQ(pair_of_row.size(), 5u);
    EXPECT_EQ(pair_of_row.begin()->first, 26u);
    EXPECT_EQ(pair_of_row[26], pair_of_row[27]);
    std::set<std::string> distinct = {pair_of_row[26], pair_of_row[28], pair_of_row[33],
                                      pair_of_row[34]};
    EXPECT_EQ(distinct.size(), 4u);
}

TEST(title_catalogue, boot_disk_rows_hold_the_three_entries_and_one_block)
{
    auto entries = tests_of(test_kind::dir_entry_equals);
    ASSERT_EQ(entries.size(), 6u);
    const std::pair<uint32_t, const char *> expected[] = {
        {0x14A0, "ORL1    z   "}, {0x15C0, "OBOOT   X   "}, {0x1600, "SAMPLE1 TXT "}};
    for (size_t i = 0; i < 6; i++) {
        EXPECT_EQ(entries[i].first, i < 3 ? 16u : 17u);
        EXPECT_EQ(entries[i].second->offset, expected[i % 3].first);
        EXPECT_EQ(stored_string(entries[i].second), expected[i % 3].second);
    }
    auto blocks = tests_of(test_kind::block_equals);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].first, 16u);
    EXPECT_EQ(blocks[0].second->offset, 0x7C800u);
}

// ---- Every row ---------------------------------------------------------------------------------

// What a row does, as described below.
std::string described(const catalogue_outcome &o)
{
    switch (o.kind) {
    case outcome_kind::load_patch:
        return std::string("load ") + o.patch_name + (o.save_filter ? " as " : "") +
               (o.save_filter ? o.save_filter : "") + (o.text ? " after: " : "") +
               (o.text ? o.text : "");
    case outcome_kind::reject:
        return std::string("refuse: ") + o.text;
    case outcome_kind::ask_user:
        return "hand over";
    }
    return "unknown outcome";
}

const std::string orla_ii = "load Starlit Maiden Orla II Jap-Eng Translation.ips as *.xdf";
const std::string boot_disk =
    "This disk image is unrecognized but appears to be the Orla II boot disk.\n\n";

const std::string titles[title_catalogue_rows] = {
    "load Crownfall II Jap-Eng Translation.ips",
    "refuse: This ROM is incompatible with the Crownfall II patch.\n\n"
        "You need the unpatched Revision 02 version.",
    "load Nightblade III.ips",
    "refuse: This ROM is incompatible with the Nightblade III patch.\n\n"
        "You need the American version.",
    "load Sable Gale.ips",
    "refuse: This is the Japanese ROM. You need the American version.",
    "load Ironline - Strike Unit.ips",
    "refuse: You need a clean copy of the American version.",
    "load Qorvax Jap-Eng Translation.ips as *.xdf",
    "refuse: This disk image is known to be incompatible with this patch.",
    "load Graveward - Phantom Tale Jap-Eng Translation.ips as *.xdf",
    "load Little Lantern Waltz Jap-Eng Translation.ips as *.xdf",
    "load Tone Studio Deluxe Jap-Eng Translation.ips as *.xdf",
    "load Morwenna Jap-Eng Translation.ips as *.dsk",
    orla_ii,
    orla_ii + " after: " + boot_disk +
        "It may or may not work, but please report it so this program can be improved.",
    "refuse: " + boot_disk +
        "It doesn't appear compatible, but please report it so this program can be improved.",
    "load Tale of Brin Jap-Eng Translation.ips",
    "load Tale of Cora Jap-Eng Translation.ips",
    "load Tale of Dov Jap-Eng Translation.ips",
    "load Tale of Esk Jap-Eng Translation.ips",
    "load Tale of Fenna Jap-Eng Translation.ips",
    "load Tale of Hild Jap-Eng Translation.ips",
    "load Tale of Ivor Jap-Eng Translation.ips",
    "load Iron Pennant Graphics Hack.ips",
    "load Titan Throne Jap-Eng Translation.ips",
    "load Titan Throne Jap-Eng Translation.ips",
    "load Starpike Jap-Eng Translation.ips",
    "hand over",
    "hand over",
    "hand over",
    "refuse: This ROM is bad. Try a different one.",
    "load Voltkid Jap-Eng Translation.ips",
    "load Voltkid Jap-Eng Translation.ips",
    "refuse: This ROM appears to be the French translation of Voltkid.\n"
        "You need the original, unpatched Japanese ROM file.",
    "load Glimmer Saga Jap-Eng Translation.ips",
    "load Glimmer Saga Jap-Eng Translation.ips",
    "load Puppet Blast Jap-Eng Translation.ips",
    "load Puppet Blast Jap-Eng Translation.ips",
    "refuse: This ROM appears to be the beta version of Puppet Blast.\n"
        "You need the official Japanese release.",
    "refuse: This ROM appears to be the USA/European version of Puppet Blast.\n"
        "You need the Japanese ROM file.",
    "load Tale of Jory Jap-Eng Translation.ips",
    "load Graveward Jap-Eng Translation.ips",
    "load Spirit Ledger Jap-Eng Translation.ips",
    "load Spirit Ledger Jap-Eng Translation.ips",
    "refuse: This ROM is bad and is not supported by this patch.",
    "refuse: This ROM appears to be a known Spirit Ledger translation.\n"
        "You need the original Japanese release.",
};

// The row (counted from 1) that decides the image, or 0 when none does.
int32_t deciding_row(const bytes &image)
{
    image_facts facts = {image.data(), static_cast<uint32_t>(image.size()), zlib_crc32(image), 0,
                         0};
    return first_matching_rule(title_catalogue, title_catalogue_rows, &facts) + 1;
}

class every_row : public testing::TestWithParam<uint32_t> {};

TEST_P(every_row, decides_an_image_made_for_it_and_does_what_its_title_requires)
{
    const uint32_t row = GetParam();
    const catalogue_rule &rule = title_catalogue[row];
    for (pick value : {pick::first, pick::last})
        EXPECT_EQ(deciding_row(image_for_rule(rule, value)), static_cast<int32_t>(row + 1))
            << (value == pick::first ? "first value" : "last value");

    ASSERT_GT(rule.test_count, 0u);
    for (uint32_t i = 0; i + 1 < rule.test_count; i++)
        EXPECT_NE(rule.tests[i].kind, test_kind::sum_in) << "the costly sum test comes last";

    EXPECT_EQ(described(rule.outcome), titles[row]);
}

INSTANTIATE_TEST_SUITE_P(title_catalogue, every_row, testing::Range(0u, title_catalogue_rows),
                         [](const testing::TestParamInfo<uint32_t> &info) {
                             return "row_" + std::to_string(info.param + 1);
                         });

// ---- Rows that depend on each other ------------------------------------------------------------

const catalogue_rule &row(uint32_t number)
{
    return title_catalogue[number - 1];
}

uint32_t value_of(uint32_t row_number, test_kind kind, uint32_t index = 0)
{
    const catalogue_rule &r = row(row_number);
    for (uint32_t i = 0; i < r.test_count; i++)
        if (r.tests[i].kind == kind)
            return r.tests[i].values[index];
    std::abort();
}

using edit = std::function<void(bytes &)>;
const edit as_made = [](bytes &) {};

// Byte at flipped by mask, then the next edit.
edit flip(uint32_t at, uint8_t mask, edit next = as_made)
{
    return [=](bytes &b) {
        b[at] ^= mask;
        next(b);
    };
}

// The image cut (or lengthened with zeros) to length, then the next edit.
edit sized(uint32_t length, edit next = as_made)
{
    return [=](bytes &b) {
        b.resize(length);
        next(b);
    };
}

edit sum_of(uint32_t row_number)
{
    return [=](bytes &b) { set_sum_from_0x200(b, value_of(row_number, test_kind::sum_in)); };
}

struct order_case {
    const char *name;
    uint32_t made_for; // the row the image is first built for
    uint32_t length;   // 0: the row's own length
    edit change;
    int32_t decided_by; // 0: no row
};

const uint32_t boot_block_end = 0x7C800 + 32;
const uint32_t domestic_title = 0x100 + 32;

const order_case order_cases[] = {
    {"a crc of the first rows decides whatever the image looks like", 26, 0,
     [](bytes &b) { force_crc(b, value_of(3, test_kind::crc_in, 3)); }, 3},
    {"the boot disk with another block is refused by row 17", 16, 0, flip(boot_block_end - 1, 1),
     17},
    {"the boot disk ending inside its block is refused by row 17", 16, 0,
     sized(boot_block_end - 1), 17},
    {"SAMPLE1 TXT 1 is another file", 16, 0, sized(boot_block_end - 1, flip(0x1600 + 12, '1')), 0},
    {"row 35 refuses by sum whatever the checksum word", 33, 0, flip(0x18F, 0xFF, sum_of(35)), 35},
    {"row 40 applies at any length", 40, 0x180001, as_made, 40},
    {"row 41 applies at any length", 41, 0x3FFFFF, as_made, 41},
    {"rows 31 and 32 share their header and the sum decides", 31, 0, sum_of(32), 32},
    {"row 45 compares the first byte of the domestic title", 45, 0,
     flip(domestic_title, 0x20, sum_of(45)), 0},
    {"row 46 takes row 44's header at 4 MiB only", 44, 0, sum_of(46), 0},
    {"row 27 compares the zeros of its title fields", 27, 0,
     flip(domestic_title + 47, ' ', sum_of(27)), 0},
    {"row 42 takes only a 256 KiB image", 42, 0, sized(0x40001), 0},
};

TEST(catalogue_order, rows_sharing_data_decide_as_their_titles_require)
{
    for (const order_case &c : order_cases) {
        bytes image = c.length ? image_for_rule_at(row(c.made_for), c.length)
                               : image_for_rule(row(c.made_for));
        c.change(image);
        EXPECT_EQ(deciding_row(image), c.decided_by) << c.name;
    }
}

} // namespace
