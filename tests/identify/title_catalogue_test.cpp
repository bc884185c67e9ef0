// title_catalogue_test.cpp -- the built-in catalogue holds the data it should, and every row can
// be reached: an image made for a row is decided by that row and by no earlier one
#include "identify/catalogue_data.h"
#include "identify/match_rule.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

TEST(title_catalogue, no_signature_occurs_twice_or_in_another_list)
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
    EXPECT_EQ(std::count(all.begin(), all.end(), 0u), 0);
    std::sort(all.begin(), all.end());
    auto twice = std::adjacent_find(all.begin(), all.end());
    EXPECT_EQ(twice, all.end()) << std::hex << (twice == all.end() ? 0 : *twice);
}

TEST(title_catalogue, has_14_header_texts_shared_by_the_rows_that_share_them)
{
    std::map<std::string, std::set<uint32_t>> rows_of_text;
    for (auto [row, test] : tests_of(test_kind::header_equals)) {
        rows_of_text[stored_string(test)].insert(row);
        EXPECT_LE(test->length, test->stored_length) << "row " << row;
        EXPECT_TRUE(test->offset == 0x100 || test->offset == 0x150) << "row " << row;
    }
    EXPECT_EQ(rows_of_text.size(), 14u);
    std::set<std::set<uint32_t>> shared;
    for (const auto &entry : rows_of_text)
        if (entry.second.size() > 1)
            shared.insert(entry.second);
    EXPECT_EQ(shared, (std::set<std::set<uint32_t>>{{31, 32}, {33, 34}, {40, 41}, {44, 45, 46}}));
}

// Stored text length, compare length and offset of each row's header test.
struct header_shape {
    uint32_t row, stored, compared, offset;
};

const header_shape header_shapes[] = {
    {26, 142, 142, 0x100}, {27, 142, 142, 0x100}, {28, 142, 142, 0x100}, {29, 142, 142, 0x100},
    {30, 142, 142, 0x100}, {31, 32, 32, 0x100},   {32, 32, 32, 0x100},   {33, 142, 142, 0x100},
    {34, 142, 142, 0x100}, {36, 142, 142, 0x100}, {37, 44, 44, 0x100},   {38, 142, 142, 0x100},
    {39, 62, 62, 0x150},   {40, 142, 142, 0x100}, {41, 142, 142, 0x100}, {43, 80, 80, 0x100},
    {44, 142, 142, 0x100}, {45, 142, 33, 0x100},  {46, 142, 142, 0x100},
};

TEST(title_catalogue, header_texts_have_their_lengths_and_compare_lengths)
{
    auto headers = tests_of(test_kind::header_equals);
    ASSERT_EQ(headers.size(), std::size(header_shapes));
    for (size_t i = 0; i < headers.size(); i++) {
        const header_shape &want = header_shapes[i];
        EXPECT_EQ(headers[i].first, want.row);
        EXPECT_EQ(headers[i].second->stored_length, want.stored) << "row " << want.row;
        EXPECT_EQ(headers[i].second->length, want.compared) << "row " << want.row;
        EXPECT_EQ(headers[i].second->offset, want.offset) << "row " << want.row;
    }
}

TEST(title_catalogue, header_texts_read_like_cartridge_headers)
{
    for (auto [row, test] : tests_of(test_kind::header_equals)) {
        std::string text = stored_string(test);
        if (test->offset == 0x150) {
            EXPECT_EQ(text.substr(48, 3), "GM ") << "the serial follows the overseas title";
            continue;
        }
        EXPECT_EQ(text.substr(0, 5), "SEGA ") << "row " << row << ": system name";
        EXPECT_EQ(text.substr(16, 3), "(C)") << "row " << row << ": maker and date";
        if (text.size() == 142) {
            EXPECT_EQ(text.substr(128, 3), "GM ") << "row " << row << ": serial number";
        }
    }
    // Row 27's title fields are filled out with zeros; every other text uses spaces.
    std::string zero_filled = stored_string(&title_catalogue[26].tests[0]);
    EXPECT_EQ(zero_filled.substr(32 + 12, 36), std::string(36, '\0'));
    EXPECT_EQ(zero_filled.substr(80 + 12, 36), std::string(36, '\0'));
    std::string space_filled = stored_string(&title_catalogue[25].tests[0]);
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

TEST(title_catalogue, every_row_has_tests_and_sum_tests_come_last)
{
    for (uint32_t r = 0; r < title_catalogue_rows; r++) {
        const catalogue_rule &rule = title_catalogue[r];
        ASSERT_GT(rule.test_count, 0u) << "row " << r + 1;
        for (uint32_t i = 0; i + 1 < rule.test_count; i++)
            EXPECT_NE(rule.tests[i].kind, test_kind::sum_in) << "row " << r + 1;
    }
}

class every_row : public testing::TestWithParam<uint32_t> {};

TEST_P(every_row, decides_an_image_made_for_it_before_any_later_row_and_after_no_earlier_one)
{
    const uint32_t row = GetParam();
    for (pick value : {pick::first, pick::last}) {
        bytes image = image_for_rule(title_catalogue[row], value);
        image_facts facts = {image.data(), static_cast<uint32_t>(image.size()), zlib_crc32(image),
                             0, 0};
        EXPECT_EQ(first_matching_rule(title_catalogue, title_catalogue_rows, &facts),
                  static_cast<int32_t>(row))
            << "row " << row + 1 << (value == pick::first ? ", first value" : ", last value");
    }
}

INSTANTIATE_TEST_SUITE_P(title_catalogue, every_row, testing::Range(0u, title_catalogue_rows),
                         [](const testing::TestParamInfo<uint32_t> &info) {
                             return "row_" + std::to_string(info.param + 1);
                         });

// ---- Rows that depend on each other ------------------------------------------------------------

// The row (counted from 1) that decides the image, or 0 when none does.
int32_t deciding_row(const bytes &image)
{
    image_facts facts = {image.data(), static_cast<uint32_t>(image.size()), zlib_crc32(image), 0,
                         0};
    return first_matching_rule(title_catalogue, title_catalogue_rows, &facts) + 1;
}

const catalogue_rule &row(uint32_t number)
{
    return title_catalogue[number - 1];
}

const catalogue_test &test_of(uint32_t row_number, test_kind kind)
{
    const catalogue_rule &r = row(row_number);
    for (uint32_t i = 0; i < r.test_count; i++)
        if (r.tests[i].kind == kind)
            return r.tests[i];
    std::abort();
}

TEST(catalogue_order, a_crc_of_the_first_rows_decides_whatever_the_image_looks_like)
{
    bytes image = image_for_rule(row(26)); // header, length and checksum word of row 26
    force_crc(image, test_of(3, test_kind::crc_in).values[3]);
    EXPECT_EQ(deciding_row(image), 3);
}

TEST(catalogue_order, the_boot_disk_without_its_block_is_refused_by_row_17)
{
    bytes image = image_for_rule(row(16));
    EXPECT_EQ(deciding_row(image), 16);
    image[0x7C800 + 31] ^= 1;
    EXPECT_EQ(deciding_row(image), 17);
    image = image_for_rule(row(16));
    image.resize(0x7C800 + 31); // the disk ends inside the block
    EXPECT_EQ(deciding_row(image), 17);
    image[0x1600 + 12] = '1'; // "SAMPLE1 TXT 1" is another file
    EXPECT_EQ(deciding_row(image), 0);
}

TEST(catalogue_order, row_35_refuses_by_sum_whatever_the_header_holds)
{
    bytes image = image_for_rule(row(33));
    image[0x18F] ^= 0xFF; // neither row 33's checksum word nor row 34's
    set_sum_from_0x200(image, test_of(35, test_kind::sum_in).values[0]);
    EXPECT_EQ(deciding_row(image), 35);
}

TEST(catalogue_order, rows_40_and_41_apply_at_any_length)
{
    for (uint32_t length : {0x180001u, 0x280000u, 0x3FFFFFu}) {
        EXPECT_EQ(deciding_row(image_for_rule_at(row(40), length, pick::first)), 40) << length;
        EXPECT_EQ(deciding_row(image_for_rule_at(row(41), length, pick::last)), 41) << length;
    }
}

TEST(catalogue_order, rows_31_and_32_share_their_header_and_the_sum_decides)
{
    bytes image = image_for_rule(row(31));
    EXPECT_EQ(deciding_row(image), 31);
    set_sum_from_0x200(image, test_of(32, test_kind::sum_in).values[0]);
    EXPECT_EQ(deciding_row(image), 32);
}

TEST(catalogue_order, row_45_compares_33_bytes_of_row_44s_header)
{
    bytes image = image_for_rule(row(45)); // the title fields beyond the first byte are zeros
    EXPECT_EQ(deciding_row(image), 45);
    image[0x100 + 32] ^= 0x20; // the first byte of the domestic title
    EXPECT_EQ(deciding_row(image), 0);
}

TEST(catalogue_order, row_46_takes_row_44s_header_at_4_mib_only)
{
    bytes image = image_for_rule(row(44));
    set_sum_from_0x200(image, test_of(46, test_kind::sum_in).values[0]);
    EXPECT_EQ(deciding_row(image), 0) << "3 MiB is not row 46's length";
    EXPECT_EQ(deciding_row(image_for_rule(row(46))), 46);
}

TEST(catalogue_order, row_27_compares_the_zeros_of_its_title_fields)
{
    bytes image = image_for_rule(row(27));
    EXPECT_EQ(deciding_row(image), 27);
    image[0x100 + 32 + 47] = ' '; // last byte of the domestic title; the sum is re-made below
    set_sum_from_0x200(image, test_of(27, test_kind::sum_in).values[0]);
    EXPECT_EQ(deciding_row(image), 0);
}

TEST(catalogue_order, row_42_takes_a_256_kib_image_by_sum_alone)
{
    for (pick value : {pick::first, pick::last})
        EXPECT_EQ(deciding_row(image_for_rule(row(42), value)), 42);
    bytes image = image_for_rule(row(42));
    image.push_back(0);
    EXPECT_EQ(deciding_row(image), 0) << "one byte longer";
}

} // namespace
