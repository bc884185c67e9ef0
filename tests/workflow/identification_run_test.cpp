// identification_run_test.cpp -- whole runs through the scripted back end: a catalogue row that
// warns, one whose patch is missing, and one that hands over to the user
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"

#include <gtest/gtest.h>

namespace {

const std::string open_target = "open|Load file to be patched|*";
const std::string open_patch = "open|Load IPS file|*.ips";

// Writes 0x77 at 0x10, where no row keeps a stored byte.
const bytes title_patch = make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x77});

class identified_run : public working_folder_test {
protected:
    // Runs the program on the image made for row (counted from 1), answering its dialogs.
    int32_t run_on_row(uint32_t row, const std::vector<std::string> &answers)
    {
        image = image_for_rule(title_catalogue[row - 1]);
        write_bytes("game.bin", image);
        script_answer(path("game.bin"));
        for (const std::string &a : answers)
            script_answer(a);
        return run_patcher();
    }

    // Checks the saved file; gives the result's box, its CRC and the save dialog.
    std::vector<std::string> saved_as(const char *name, const char *pattern)
    {
        bytes result = image;
        result[0x10] = 0x77;
        EXPECT_EQ(read_bytes(path(name)), result);
        return joined(
            {unrecognised_result_events(result), {std::string("save|Save patched file|") + pattern}});
    }

    bytes image;
};

TEST_F(identified_run, the_boot_disk_warning_comes_before_the_pattern_switch_and_the_load)
{
    const catalogue_outcome &boot_disk = title_catalogue[15].outcome;
    bytes big = title_patch;
    big.resize(patch_capacity + 1, 0); // the load warns of its own, after the row's warning
    write_bytes(boot_disk.patch_name, big);
    EXPECT_EQ(run_on_row(16, {path("out")}), 1);
    EXPECT_EQ(script_transcript(),
              joined({{open_target, std::string("box|Warning|") + boot_disk.text,
                       "box|Warning|File size is too large and will be truncated"},
                      saved_as("out", "*.xdf")}));
}

TEST_F(identified_run, a_missing_patch_file_asks_for_one_and_keeps_the_rows_pattern)
{
    write_bytes("mine.ips", title_patch);
    EXPECT_EQ(run_on_row(9, {path("mine.ips"), path("out.xdf")}), 1); // a disk saved as "*.xdf"
    EXPECT_EQ(script_transcript(), joined({{open_target, open_patch}, saved_as("out.xdf", "*.xdf")}));
}

TEST_F(identified_run, a_handed_over_source_shows_nothing_and_leaves_the_clipboard_alone)
{
    EXPECT_EQ(run_on_row(29, {""}), 0);
    EXPECT_EQ(script_transcript(), (std::vector<std::string>{open_target, open_patch}));
}

} // namespace
