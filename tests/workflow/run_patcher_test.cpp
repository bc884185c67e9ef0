// run_patcher_test.cpp -- whole runs through the scripted back end, one per way a run can end
#include "identify/catalogue_data.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const uint32_t smallest_image = 0x40000;
const std::string open_target = "open|Load file to be patched|*";
const std::string open_patch = "open|Load IPS file|*.ips";
const std::string save_bin = "save|Save patched file|*.bin";

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
    EXPECT_EQ(script_transcript(),
              joined({{open_target}, unrecognised_source_events(image_of(smallest_image)), {open_patch},
                      unrecognised_result_events(result), {save_bin}}));
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
        EXPECT_EQ(script_transcript(), joined({{open_target}, unrecognised_source_events(source),
                                               {open_patch, c.saved ? save_bin : outdated_box}}))
            << c.name;
        if (c.saved) {
            EXPECT_EQ(read_bytes(path("out.bin")), result) << c.name;
            remove_tree(path("out.bin"));
        } else {
            EXPECT_EQ(folder_entries(folder), before) << c.name;
        }
    }
}

// Transcript lines up to and including each dialog of a run on image_of(smallest_image).
const size_t to_target = 1, to_patch = 4, to_save = 7;
const uint32_t absent = 0xFFFFFFFF; // no target file at all

struct stop_case {
    const char *name;
    uint32_t target_length;
    int patch_kind; // 0 good, 1 absent, 2 empty, 3 malformed, 4 past the image
    std::vector<std::string> answers; // "T" target, "P" patch, "" cancel, else a name in the folder
    size_t shown;      // transcript lines up to the last dialog shown
    const char *error; // the box that ends the run, if any
};

const stop_case stops[] = {
    {"target dialog cancelled", smallest_image, 0, {""}, to_target, nullptr},
    {"target cannot be read", absent, 0, {"T"}, to_target, "File size is too small or error loading file"},
    {"target empty", 0, 0, {"T"}, to_target, "File size is too small or error loading file"},
    {"target one byte short", smallest_image - 1, 0, {"T"}, to_target,
     "File size is too small or error loading file"},
    {"patch dialog cancelled", smallest_image, 0, {"T", ""}, to_patch, nullptr},
    {"patch cannot be opened", smallest_image, 1, {"T", "P"}, to_patch, "Error loading patch file"},
    {"patch empty", smallest_image, 2, {"T", "P"}, to_patch, "Error loading patch file"},
    {"patch malformed", smallest_image, 3, {"T", "P"}, to_patch, "Error in patch file"},
    {"patch past the image", smallest_image, 4, {"T", "P"}, to_patch, "Error in patch file"},
    {"save dialog cancelled", smallest_image, 0, {"T", "P", ""}, to_save, nullptr},
    {"output cannot be created", smallest_image, 0, {"T", "P", "no/such/folder/out.bin"}, to_save,
     "Error writing file"},
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
    if (c.target_length != absent)
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
    std::vector<std::string> expected =
        joined({{open_target}, unrecognised_source_events(image_of(smallest_image)), {open_patch},
                unrecognised_result_events(good_result()), {save_bin}});
    expected.resize(c.shown);
    if (c.error)
        expected.push_back(std::string("box|Error|") + c.error);
    std::vector<std::string> before = folder_entries(folder);
    EXPECT_EQ(run(answers), 0);
    EXPECT_EQ(script_transcript(), expected);
    EXPECT_EQ(folder_entries(folder), before);
}

INSTANTIATE_TEST_SUITE_P(all, run_stops, testing::ValuesIn(stops),
                         [](const testing::TestParamInfo<stop_case> &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
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
    EXPECT_EQ(script_transcript(),
              joined({{open_target, warning},
                      unrecognised_source_events(bytes(image.begin(), image.begin() + target_capacity)),
                      {open_patch, warning}, unrecognised_result_events(out), {save_bin}}));
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

} // namespace
