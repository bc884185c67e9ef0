// run_patcher_test.cpp -- whole runs through the scripted back end, one per way a run can end
#include "identify/catalogue_data.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"

#include <gtest/gtest.h>

namespace {

const uint32_t smallest_image = 0x40000;
const std::string open_target = "open|Load file to be patched|*";
const std::string open_patch = "open|Load IPS file|*.ips";
const std::string save_bin = "save|Save patched file|*.bin";
const std::string unrecognised = "U"; // the unrecognised-patch box and the clipboard line after it
const std::string source_report = "S";  // the unrecognised-source box and its clipboard line

// The transcript lines of the unrecognised-patch box, for a result with this CRC.
std::vector<std::string> unrecognised_lines(uint32_t crc)
{
    return {unrecognised_box, "clipboard||" + crc_text(crc)};
}

class whole_run : public folder_test {
protected:
    // Answers the dialogs in turn and runs once; returns run_patcher's result.
    int32_t run(const std::vector<std::string> &answers)
    {
        for (const std::string &a : answers)
            script_answer(a);
        return run_patcher();
    }

    // An image whose bytes are not all alike, so that a misplaced write shows.
    static bytes image_of(uint32_t length)
    {
        bytes image(length);
        for (uint32_t i = 0; i < length; i++)
            image[i] = static_cast<uint8_t>(i ^ (i >> 8));
        return image;
    }

    // What good_patch makes of image_of(smallest_image).
    static bytes good_result()
    {
        bytes image = image_of(smallest_image);
        image[0x100] = 0xDE;
        image[0x101] = 0xAD;
        return image;
    }
    bytes good_patch = make_patch({0x00, 0x01, 0x00, 0x00, 0x02, 0xDE, 0xAD});
};

TEST_F(whole_run, patches_and_saves_an_unrecognised_result_after_its_box)
{
    write_bytes(path("game.bin"), image_of(smallest_image));
    write_bytes(path("fix.ips"), good_patch);
    EXPECT_EQ(run({path("game.bin"), path("fix.ips"), path("out.bin")}), 1);
    const bytes result = good_result();
    EXPECT_EQ(read_bytes(path("out.bin")), result);
    std::vector<std::string> expected = {open_target};
    for (const std::string &line : unrecognised_source_events(image_of(smallest_image)))
        expected.push_back(line);
    expected.push_back(open_patch);
    for (const std::string &line : unrecognised_lines(zlib_crc32(result)))
        expected.push_back(line);
    expected.push_back(save_bin);
    EXPECT_EQ(script_transcript(), expected);
}

// Results made to carry one signature of the built-in lists. The patch rewrites the last eight
// bytes of a source that differs from the result only there.
struct result_case {
    const char *name;
    bool by_sum;
    uint32_t signature;
    bool saved;
};

const result_case results[] = {
    {"current crc", false, current_result_crcs[21], true},
    {"current sum", true, current_result_sums[0], true},
    {"outdated crc", false, outdated_result_crcs[0], false},
    {"second outdated sum", true, outdated_result_sums[1], false},
    {"fourth outdated sum", true, outdated_result_sums[3], false},
    {"crc 0", false, 0, false},
};

TEST_F(whole_run, judges_the_result_by_its_signature_and_never_writes_a_refused_one)
{
    for (const result_case &c : results) {
        script_reset();
        bytes result = image_of(smallest_image);
        if (c.by_sum)
            result = image_with_sum(c.signature, smallest_image);
        else
            force_crc(result, c.signature);
        const uint32_t tail = static_cast<uint32_t>(result.size()) - 8;
        bytes source = result;
        bytes records = {uint8_t(tail >> 16), uint8_t(tail >> 8), uint8_t(tail), 0, 8};
        for (uint32_t i = tail; i < result.size(); i++) {
            source[i] ^= 0x5A;
            records.push_back(result[i]);
        }
        write_bytes(path("game.bin"), source);
        write_bytes(path("fix.ips"), make_patch(records));
        std::vector<std::string> before = folder_entries(folder);

        EXPECT_EQ(run({path("game.bin"), path("fix.ips"), path("out.bin")}), c.saved ? 1 : 0)
            << c.name;
        std::vector<std::string> expected = {open_target};
        for (const std::string &line : unrecognised_source_events(source))
            expected.push_back(line);
        expected.push_back(open_patch);
        expected.push_back(c.saved ? save_bin : outdated_box);
        EXPECT_EQ(script_transcript(), expected) << c.name;
        if (c.saved) {
            EXPECT_EQ(read_bytes(path("out.bin")), result) << c.name;
            remove_tree(path("out.bin"));
        } else {
            EXPECT_EQ(folder_entries(folder), before) << c.name;
        }
    }
}

struct stop_case {
    const char *name;
    uint32_t target_length; // 0 with no_target: the target is not created
    bool no_target;
    int patch_kind; // 0 good, 1 absent, 2 empty, 3 malformed, 4 past the image
    std::vector<std::string> answers; // "T" target, "P" patch, "O" output, "" cancel
    std::vector<std::string> transcript;
};

const stop_case stops[] = {
    {"target dialog cancelled", smallest_image, false, 0, {""}, {open_target}},
    {"target cannot be read", 0, true, 0, {"T"},
     {open_target, "box|Error|File size is too small or error loading file"}},
    {"target empty", 0, false, 0, {"T"},
     {open_target, "box|Error|File size is too small or error loading file"}},
    {"target one byte short", smallest_image - 1, false, 0, {"T"},
     {open_target, "box|Error|File size is too small or error loading file"}},
    {"patch dialog cancelled", smallest_image, false, 0, {"T", ""},
     {open_target, source_report, open_patch}},
    {"patch cannot be opened", smallest_image, false, 1, {"T", "P"},
     {open_target, source_report, open_patch, "box|Error|Error loading patch file"}},
    {"patch empty", smallest_image, false, 2, {"T", "P"},
     {open_target, source_report, open_patch, "box|Error|Error loading patch file"}},
    {"patch malformed", smallest_image, false, 3, {"T", "P"},
     {open_target, source_report, open_patch, "box|Error|Error in patch file"}},
    {"patch past the image", smallest_image, false, 4, {"T", "P"},
     {open_target, source_report, open_patch, "box|Error|Error in patch file"}},
    {"save dialog cancelled", smallest_image, false, 0, {"T", "P", ""},
     {open_target, source_report, open_patch, unrecognised, save_bin}},
    {"output cannot be created", smallest_image, false, 0, {"T", "P", "no/such/folder/out.bin"},
     {open_target, source_report, open_patch, unrecognised, save_bin,
      "box|Error|Error writing file"}},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const stop_case &c, std::ostream *os)
{
    *os << c.name;
}

class run_stops : public whole_run, public testing::WithParamInterface<stop_case> {};

TEST_P(run_stops, with_its_message_and_writes_nothing)
{
    const stop_case &c = GetParam();
    if (!c.no_target)
        write_bytes(path("game.bin"), image_of(c.target_length));
    const bytes patches[] = {good_patch, {}, {}, bytes{'P', 'A', 'T', 'C', 'H', 0, 0},
                             make_patch({0x03, 0xFF, 0xFF, 0x00, 0x02, 1, 2})};
    if (c.patch_kind != 1)
        write_bytes(path("fix.ips"), patches[c.patch_kind]);
    std::vector<std::string> answers;
    for (const std::string &a : c.answers)
        answers.push_back(a == "T" ? path("game.bin")
                          : a == "P" ? path("fix.ips")
                          : a.empty() ? a
                                      : path(a.c_str()));
    std::vector<std::string> transcript;
    for (const std::string &line : c.transcript)
        if (line == unrecognised)
            for (const std::string &box_line : unrecognised_lines(zlib_crc32(good_result())))
                transcript.push_back(box_line);
        else if (line == source_report)
            for (const std::string &box_line :
                 unrecognised_source_events(image_of(c.target_length)))
                transcript.push_back(box_line);
        else
            transcript.push_back(line);
    std::vector<std::string> before = folder_entries(folder);
    EXPECT_EQ(run(answers), 0);
    EXPECT_EQ(script_transcript(), transcript);
    EXPECT_EQ(folder_entries(folder), before);
}

INSTANTIATE_TEST_SUITE_P(all, run_stops, testing::ValuesIn(stops),
                         [](const testing::TestParamInfo<stop_case> &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

TEST_F(whole_run, oversized_target_and_patch_are_warned_about_and_cut)
{
    bytes image = image_of(target_capacity + 1);
    write_bytes(path("big.bin"), image);
    bytes patch = make_patch({0x00, 0x00, 0x00, 0x00, 0x01, 0x77});
    patch.resize(patch_capacity + 10, 0); // the end marker lies within the part that is loaded
    write_bytes(path("big.ips"), patch);
    EXPECT_EQ(run({path("big.bin"), path("big.ips"), path("out.bin")}), 1);
    const std::string warning = "box|Warning|File size is too large and will be truncated";
    bytes out = read_bytes(path("out.bin"));
    ASSERT_EQ(out.size(), target_capacity);
    std::vector<std::string> expected = {open_target, warning};
    for (const std::string &line :
         unrecognised_source_events(bytes(image.begin(), image.begin() + target_capacity)))
        expected.push_back(line);
    expected.push_back(open_patch);
    expected.push_back(warning);
    for (const std::string &line : unrecognised_lines(zlib_crc32(out)))
        expected.push_back(line);
    expected.push_back(save_bin);
    EXPECT_EQ(script_transcript(), expected);
    EXPECT_EQ(out[0], 0x77);
    EXPECT_TRUE(std::equal(out.begin() + 1, out.end(), image.begin() + 1));
}

TEST_F(whole_run, every_run_starts_with_the_bin_pattern)
{
    save_filter = "*.dsk"; // left over from an earlier run in the same process
    write_bytes(path("game.bin"), image_of(smallest_image));
    write_bytes(path("fix.ips"), good_patch);
    EXPECT_EQ(run({path("game.bin"), path("fix.ips"), ""}), 0);
    EXPECT_EQ(script_transcript().back(), save_bin);
}

TEST_F(whole_run, a_patch_file_as_the_target_is_refused_before_the_size_test)
{
    write_bytes(path("fix.ips"), good_patch);
    EXPECT_EQ(run({path("fix.ips"), path("fix.ips"), path("out.bin")}), 0);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{
                  open_target, "box|User error|You loaded a patch file.\n\nYou're supposed to load "
                               "the target file first for identification purposes.\n\nPlease try "
                               "again."}));
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"fix.ips"});
}

TEST_F(whole_run, a_copier_header_is_stripped_before_the_size_test_and_not_saved)
{
    bytes image = image_of(smallest_image);
    bytes file(512, 0xFF);
    file.insert(file.end(), image.begin(), image.end());
    std::copy_n("SEGA", 4, file.begin() + 0x300); // the cartridge header's mark behind 512 bytes
    write_bytes(path("game.bin"), file);
    write_bytes(path("fix.ips"), good_patch);
    EXPECT_EQ(run({path("game.bin"), path("fix.ips"), path("out.bin")}), 1);
    bytes expected(file.begin() + 512, file.end());
    expected[0x100] = 0xDE;
    expected[0x101] = 0xAD;
    EXPECT_EQ(read_bytes(path("out.bin")), expected);
}

} // namespace
