// identify_source_test.cpp -- the stages of identification in their order, and the three outcomes,
// against a small catalogue of the tests' own
#include "identify/identify_source.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const uint32_t image_length = 0x1000;

// Signatures the test catalogue knows; the image under test is given one of them.
const uint32_t patched_crc = 0x0BADF00D; // a current result, also known bad
const uint32_t bad_crc = 0x0000BAD1;     // the second known-bad source
const uint32_t load_crc = 0x10AD10AD;    // loads "title.ips", no pattern, no warning
const uint32_t warn_crc = 0x3A3A3A3A;    // warns, switches to "*.dsk", loads "disk.ips"
const uint32_t reject_crc = 0x4E4E4E4E;  // refused
const uint32_t ask_crc = 0x5A5A5A5A;     // handed to the user
const uint32_t twice_crc = 0x6C6C6C6C;   // in two rows: the first of them decides

const uint32_t result_crcs[] = {patched_crc};
const result_signature_lists results = {result_crcs, 1, nullptr, 0, nullptr, 0, nullptr, 0};
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

const bytes title_patch = make_patch({0, 0, 1, 0, 1, 0x11});
const bytes disk_patch = make_patch({0, 0, 2, 0, 2, 0x22, 0x33});
const int32_t title_loaded = static_cast<int32_t>(title_patch.size());
const int32_t disk_loaded = static_cast<int32_t>(disk_patch.size());

const std::string warned = "box|Warning|Looks like the disk.";
const std::string refused = "box|Error|Not this one.";
const std::string already_patched =
    "box|Error|This file has already been patched. Please use a clean copy.";
const std::string known_bad = "box|Error|This file is known to be bad and is not compatible "
                              "with our patch.\n\nPlease try a different one.";

struct stage_case {
    const char *name;
    uint32_t crc;
    std::function<void()> before; // changes to the folder or the back end
    int32_t result;
    std::vector<std::string> transcript;
    const char *save_filter;
    uint32_t length = image_length;
};

const auto as_is = [] {};

const stage_case cases[] = {
    {"a loading row loads its patch by name and says nothing", load_crc, as_is, title_loaded, {},
     "*.bin"},
    {"a warning row warns then switches the pattern then loads", warn_crc, as_is, disk_loaded,
     {warned}, "*.dsk"},
    {"a missing patch gives 0 and the pattern stays switched", warn_crc,
     [] { remove_tree("disk.ips"); }, 0, {warned}, "*.dsk"},
    {"an empty patch file counts as missing", load_crc, [] { write_bytes("title.ips", {}); }, 0, {},
     "*.bin"},
    {"a patch larger than the buffer is cut after the row's own warning", warn_crc,
     [] {
         bytes big = disk_patch;
         big.resize(patch_capacity + 1, 0);
         write_bytes("disk.ips", big);
     },
     static_cast<int32_t>(patch_capacity),
     {warned, "box|Warning|File size is too large and will be truncated"}, "*.dsk"},
    {"a rejecting row shows its message as an error and stops", reject_crc, as_is, -1, {refused},
     "*.bin"},
    {"an ask-user row shows nothing and leaves the clipboard alone", ask_crc, as_is, 0, {},
     "*.bin"},
    {"the first matching row decides", twice_crc, as_is, disk_loaded, {warned}, "*.dsk"},
    {"a failing test passes the image on to the next row", twice_crc, as_is, -1, {refused}, "*.bin",
     image_length + 1},
    {"already patched is refused before the known-bad list and the rows", patched_crc, as_is, -1,
     {already_patched}, "*.bin"},
    {"a crc of 0 marks a source as already patched", 0, as_is, -1, {already_patched}, "*.bin"},
    {"a known-bad source is refused before the rows", bad_crc, as_is, -1, {known_bad}, "*.bin"},
    {"an unknown source is reported and its crc follows the box", 0x000C0FFE, as_is, 0,
     {unrecognised_source_box, "clipboard||0x000C0FFE"}, "*.bin"},
    {"an unknown source still gives 0 when the clipboard cannot be opened", 0xABCDEF01,
     [] { script_clipboard_fails(true); }, 0,
     {unrecognised_source_box, "stdout||Error opening clipboard"}, "*.bin"},
};

void PrintTo(const stage_case &c, std::ostream *os)
{
    *os << c.name;
}

class identification : public working_folder_test,
                       public testing::WithParamInterface<stage_case> {};

TEST_P(identification, follows_its_stages_and_the_deciding_row)
{
    const stage_case &c = GetParam();
    save_filter = "*.bin";
    write_bytes("title.ips", title_patch);
    write_bytes("disk.ips", disk_patch);
    c.before();
    bytes image(c.length, 0x5C);
    force_crc(image, c.crc);

    EXPECT_EQ(identify_source_against(image.data(), c.length, &catalogue), c.result);
    EXPECT_EQ(script_transcript(), c.transcript);
    EXPECT_STREQ(save_filter, c.save_filter);
    const bytes &patch = c.result == title_loaded ? title_patch : disk_patch;
    if (c.result == title_loaded || c.result == disk_loaded) {
        EXPECT_TRUE(std::equal(patch.begin(), patch.end(), patch_buffer));
    }
}

INSTANTIATE_TEST_SUITE_P(test_catalogue, identification, testing::ValuesIn(cases));

} // namespace
