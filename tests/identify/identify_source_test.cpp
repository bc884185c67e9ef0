// identify_source_test.cpp -- the stages of identification in their order, and the three outcomes,
// against small catalogues of the tests' own
#include "identify/identify_source.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

namespace {

const uint32_t image_length = 0x1000;

// Signatures the test catalogue knows; the image under test is given one of them.
const uint32_t patched_crc = 0x0BADF00D;    // a current result, also known bad
const uint32_t bad_crc = 0x0000BAD1;        // the second known-bad source
const uint32_t load_crc = 0x10AD10AD;       // loads "title.ips", no pattern, no warning
const uint32_t warn_crc = 0x3A3A3A3A;       // warns, switches to "*.dsk", loads "disk.ips"
const uint32_t reject_crc = 0x4E4E4E4E;     // refused
const uint32_t ask_crc = 0x5A5A5A5A;        // handed to the user
const uint32_t twice_crc = 0x6C6C6C6C;      // in two rows: the first of them decides

const uint32_t result_crcs[] = {patched_crc};
const uint32_t no_values[] = {0};
const result_signature_lists results = {result_crcs, 1, no_values, 0,
                                        no_values,   0, no_values, 0};
const uint32_t bad_crcs[] = {0x0000BAD0, bad_crc, patched_crc}; // patched_crc: both at once

const uint32_t load_crcs[] = {load_crc};
const uint32_t warn_crcs[] = {warn_crc, twice_crc};
const uint32_t reject_crcs[] = {reject_crc, twice_crc, patched_crc, bad_crc};
const uint32_t ask_crcs[] = {ask_crc};
const catalogue_test load_tests[] = {crc_in(load_crcs)};
const catalogue_test warn_tests[] = {length_equals(image_length), crc_in(warn_crcs)};
const catalogue_test reject_tests[] = {crc_in(reject_crcs)};
const catalogue_test ask_tests[] = {crc_in(ask_crcs)};
const catalogue_rule rules[] = {
    rule(load_tests, load_patch("title.ips")),
    rule(warn_tests, load_patch("disk.ips", "*.dsk", "Looks like the disk.")),
    rule(reject_tests, reject("Not this one.")),
    rule(ask_tests, ask_user()),
};
const source_catalogue catalogue = {&results, bad_crcs, 3, rules, 4};

const std::string already_patched_box =
    "box|Error|This file has already been patched. Please use a clean copy.";
const std::string known_bad_box = "box|Error|This file is known to be bad and is not compatible "
                                  "with our patch.\n\nPlease try a different one.";

class identification : public working_folder_test {
protected:
    void SetUp() override
    {
        working_folder_test::SetUp();
        save_filter = "*.bin";
        write_bytes("title.ips", title_patch);
        write_bytes("disk.ips", disk_patch);
    }

    int32_t identify(uint32_t crc)
    {
        image = bytes(image_length, 0x5C);
        force_crc(image, crc);
        return identify_source_against(image.data(), image_length, &catalogue);
    }

    bool patch_buffer_holds(const bytes &patch) const
    {
        return std::equal(patch.begin(), patch.end(), patch_buffer);
    }

    bytes image;
    bytes title_patch = make_patch({0, 0, 1, 0, 1, 0x11});
    bytes disk_patch = make_patch({0, 0, 2, 0, 2, 0x22, 0x33});
};

TEST_F(identification, a_loading_row_loads_its_patch_by_name_and_says_nothing)
{
    EXPECT_EQ(identify(load_crc), static_cast<int32_t>(title_patch.size()));
    EXPECT_TRUE(patch_buffer_holds(title_patch));
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
    EXPECT_STREQ(save_filter, "*.bin");
}

TEST_F(identification, a_warning_row_warns_then_switches_the_pattern_then_loads)
{
    EXPECT_EQ(identify(warn_crc), static_cast<int32_t>(disk_patch.size()));
    EXPECT_TRUE(patch_buffer_holds(disk_patch));
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"box|Warning|Looks like the disk."});
    EXPECT_STREQ(save_filter, "*.dsk");
}

TEST_F(identification, a_missing_patch_gives_0_without_a_word_and_the_pattern_stays_switched)
{
    remove_tree("disk.ips");
    EXPECT_EQ(identify(warn_crc), 0);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"box|Warning|Looks like the disk."});
    EXPECT_STREQ(save_filter, "*.dsk");
}

TEST_F(identification, an_empty_patch_file_counts_as_missing)
{
    write_bytes("title.ips", {});
    EXPECT_EQ(identify(load_crc), 0);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
}

TEST_F(identification, a_rejecting_row_shows_its_message_as_an_error_and_stops)
{
    EXPECT_EQ(identify(reject_crc), -1);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"box|Error|Not this one."});
    EXPECT_STREQ(save_filter, "*.bin");
}

TEST_F(identification, an_ask_user_row_shows_nothing_and_leaves_the_clipboard_alone)
{
    EXPECT_EQ(identify(ask_crc), 0);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
}

TEST_F(identification, the_first_matching_row_decides)
{
    EXPECT_EQ(identify(twice_crc), static_cast<int32_t>(disk_patch.size()));
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"box|Warning|Looks like the disk."});
}

TEST_F(identification, a_failing_test_passes_the_image_on_to_the_next_row)
{
    image = bytes(image_length + 1, 0x5C); // too long for the warning row's length test
    force_crc(image, twice_crc);
    EXPECT_EQ(identify_source_against(image.data(), image_length + 1, &catalogue), -1);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"box|Error|Not this one."});
}

TEST_F(identification, an_already_patched_source_is_refused_before_the_known_bad_list_and_rows)
{
    EXPECT_EQ(identify(patched_crc), -1);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{already_patched_box});
}

TEST_F(identification, a_crc_of_0_marks_a_source_as_already_patched)
{
    EXPECT_EQ(identify(0), -1);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{already_patched_box});
}

TEST_F(identification, a_known_bad_source_is_refused_before_the_rows)
{
    EXPECT_EQ(identify(bad_crc), -1);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{known_bad_box});
}

TEST_F(identification, an_unknown_source_is_reported_and_its_crc_follows_the_box_to_the_clipboard)
{
    EXPECT_EQ(identify(0x000C0FFE), 0);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{unrecognised_source_box, "clipboard||0x000C0FFE"}));
    EXPECT_STREQ(save_filter, "*.bin");
}

TEST_F(identification, an_unknown_source_still_gives_0_when_the_clipboard_cannot_be_opened)
{
    script_clipboard_fails(true);
    EXPECT_EQ(identify(0xABCDEF01), 0);
    EXPECT_EQ(script_transcript(), (std::vector<std::string>{unrecognised_source_box,
                                                             "stdout||Error opening clipboard"}));
}

TEST_F(identification, a_patch_larger_than_the_buffer_is_cut_after_the_rows_own_warning)
{
    bytes big = make_patch({0, 0, 1, 0, 1, 0x44});
    big.resize(patch_capacity + 1, 0);
    write_bytes("disk.ips", big);
    EXPECT_EQ(identify(warn_crc), static_cast<int32_t>(patch_capacity));
    const std::vector<std::string> expected = {
        "box|Warning|Looks like the disk.",
        "box|Warning|File size is too large and will be truncated"};
    EXPECT_EQ(script_transcript(), expected);
}

} // namespace
