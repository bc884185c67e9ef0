// identification_run_test.cpp -- whole runs through the scripted back end for every catalogue row:
// each loads its patch by name, refuses, or hands over, as its title requires
#include "identify/catalogue_data.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/folder_test.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"

#include <gtest/gtest.h>

namespace {

const std::string open_target = "open|Load file to be patched|*";
const std::string open_patch = "open|Load IPS file|*.ips";

enum class then_what { load, refuse, hand_over };

// What each row is to do, in row order: the patch it loads and the pattern it saves under, or the
// message it refuses with.
struct row_outcome {
    then_what what;
    const char *patch_or_message;
    const char *pattern;
    const char *warning;
};

const char orla_ii[] = "Starlit Maiden Orla II Jap-Eng Translation.ips";
const char boot_disk[] =
    "This disk image is unrecognized but appears to be the Orla II boot disk.\n\n";

row_outcome load(const char *patch, const char *pattern = "*.bin", const char *warning = nullptr)
{
    return {then_what::load, patch, pattern, warning};
}

row_outcome refuse(const char *message)
{
    return {then_what::refuse, message, nullptr, nullptr};
}

const row_outcome hand_over = {then_what::hand_over, nullptr, nullptr, nullptr};

const std::string boot_disk_warning = std::string(boot_disk) +
    "It may or may not work, but please report it so this program can be improved.";
const std::string boot_disk_refusal = std::string(boot_disk) +
    "It doesn't appear compatible, but please report it so this program can be improved.";

const row_outcome outcomes[title_catalogue_rows] = {
    load("Crownfall II Jap-Eng Translation.ips"),
    refuse("This ROM is incompatible with the Crownfall II patch.\n\n"
           "You need the unpatched Revision 02 version."),
    load("Nightblade III.ips"),
    refuse("This ROM is incompatible with the Nightblade III patch.\n\n"
           "You need the American version."),
    load("Sable Gale.ips"),
    refuse("This is the Japanese ROM. You need the American version."),
    load("Ironline - Strike Unit.ips"),
    refuse("You need a clean copy of the American version."),
    load("Qorvax Jap-Eng Translation.ips", "*.xdf"),
    refuse("This disk image is known to be incompatible with this patch."),
    load("Graveward - Phantom Tale Jap-Eng Translation.ips", "*.xdf"),
    load("Little Lantern Waltz Jap-Eng Translation.ips", "*.xdf"),
    load("Tone Studio Deluxe Jap-Eng Translation.ips", "*.xdf"),
    load("Morwenna Jap-Eng Translation.ips", "*.dsk"),
    load(orla_ii, "*.xdf"),
    load(orla_ii, "*.xdf", boot_disk_warning.c_str()),
    refuse(boot_disk_refusal.c_str()),
    load("Tale of Brin Jap-Eng Translation.ips"),
    load("Tale of Cora Jap-Eng Translation.ips"),
    load("Tale of Dov Jap-Eng Translation.ips"),
    load("Tale of Esk Jap-Eng Translation.ips"),
    load("Tale of Fenna Jap-Eng Translation.ips"),
    load("Tale of Hild Jap-Eng Translation.ips"),
    load("Tale of Ivor Jap-Eng Translation.ips"),
    load("Iron Pennant Graphics Hack.ips"),
    load("Titan Throne Jap-Eng Translation.ips"),
    load("Titan Throne Jap-Eng Translation.ips"),
    load("Starpike Jap-Eng Translation.ips"),
    hand_over,
    hand_over,
    hand_over,
    refuse("This ROM is bad. Try a different one."),
    load("Voltkid Jap-Eng Translation.ips"),
    load("Voltkid Jap-Eng Translation.ips"),
    refuse("This ROM appears to be the French translation of Voltkid.\n"
           "You need the original, unpatched Japanese ROM file."),
    load("Glimmer Saga Jap-Eng Translation.ips"),
    load("Glimmer Saga Jap-Eng Translation.ips"),
    load("Puppet Blast Jap-Eng Translation.ips"),
    load("Puppet Blast Jap-Eng Translation.ips"),
    refuse("This ROM appears to be the beta version of Puppet Blast.\n"
           "You need the official Japanese release."),
    refuse("This ROM appears to be the USA/European version of Puppet Blast.\n"
           "You need the Japanese ROM file."),
    load("Tale of Jory Jap-Eng Translation.ips"),
    load("Graveward Jap-Eng Translation.ips"),
    load("Spirit Ledger Jap-Eng Translation.ips"),
    load("Spirit Ledger Jap-Eng Translation.ips"),
    refuse("This ROM is bad and is not supported by this patch."),
    refuse("This ROM appears to be a known Spirit Ledger translation.\n"
           "You need the original Japanese release."),
};

// Writes 0x77 at 0x10, where no row keeps a stored byte.
const bytes title_patch = make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x77});

class identified_run : public working_folder_test {
protected:
    int32_t run(const std::vector<std::string> &answers)
    {
        for (const std::string &a : answers)
            script_answer(a);
        return run_patcher();
    }

    static bytes patched(bytes image)
    {
        image[0x10] = 0x77;
        return image;
    }

    // The unrecognised-patch box for a result, and its CRC on the clipboard.
    static std::vector<std::string> result_report(const bytes &result)
    {
        return {unrecognised_box, "clipboard||" + crc_text(zlib_crc32(result))};
    }
};

class every_row_run : public identified_run, public testing::WithParamInterface<uint32_t> {};

TEST_P(every_row_run, does_what_its_title_requires)
{
    const uint32_t row = GetParam();
    const row_outcome &want = outcomes[row];
    const bytes image = image_for_rule(title_catalogue[row]);
    write_bytes("game.bin", image);
    std::vector<std::string> expected = {open_target};

    switch (want.what) {
    case then_what::load: {
        write_bytes(want.patch_or_message, title_patch);
        EXPECT_EQ(run({path("game.bin"), path("out")}), 1);
        if (want.warning)
            expected.push_back(std::string("box|Warning|") + want.warning);
        for (const std::string &line : result_report(patched(image)))
            expected.push_back(line);
        expected.push_back(std::string("save|Save patched file|") + want.pattern);
        EXPECT_EQ(read_bytes(path("out")), patched(image));
        break;
    }
    case then_what::refuse:
        EXPECT_EQ(run({path("game.bin"), path("out")}), 0);
        expected.push_back(std::string("box|Error|") + want.patch_or_message);
        EXPECT_FALSE(file_exists(path("out")));
        break;
    case then_what::hand_over: // no box, and the clipboard is left alone
        EXPECT_EQ(run({path("game.bin"), ""}), 0);
        expected.push_back(open_patch);
        break;
    }
    EXPECT_EQ(script_transcript(), expected) << "row " << row + 1;
}

INSTANTIATE_TEST_SUITE_P(title_catalogue, every_row_run, testing::Range(0u, title_catalogue_rows),
                         [](const testing::TestParamInfo<uint32_t> &info) {
                             return "row_" + std::to_string(info.param + 1);
                         });

TEST_F(identified_run, the_boot_disk_warning_comes_before_the_pattern_switch_and_the_load)
{
    const bytes image = image_for_rule(title_catalogue[15]);
    write_bytes("game.bin", image);
    bytes big = title_patch;
    big.resize(patch_capacity + 1, 0); // the load warns of its own, after the row's warning
    write_bytes(orla_ii, big);
    EXPECT_EQ(run({path("game.bin"), path("out")}), 1);
    std::vector<std::string> expected = {
        open_target, "box|Warning|" + boot_disk_warning,
        "box|Warning|File size is too large and will be truncated"};
    for (const std::string &line : result_report(patched(image)))
        expected.push_back(line);
    expected.push_back("save|Save patched file|*.xdf");
    EXPECT_EQ(script_transcript(), expected);
}

TEST_F(identified_run, a_missing_patch_file_asks_for_one_and_keeps_the_rows_pattern)
{
    const bytes image = image_for_rule(title_catalogue[8]); // a disk image saved as "*.xdf"
    write_bytes("game.bin", image);
    write_bytes("mine.ips", title_patch);
    EXPECT_EQ(run({path("game.bin"), path("mine.ips"), path("out.xdf")}), 1);
    std::vector<std::string> expected = {open_target, open_patch};
    for (const std::string &line : result_report(patched(image)))
        expected.push_back(line);
    expected.push_back("save|Save patched file|*.xdf");
    EXPECT_EQ(script_transcript(), expected);
    EXPECT_EQ(read_bytes(path("out.xdf")), patched(image));
}

TEST_F(identified_run, an_already_patched_source_is_refused_before_anything_is_asked)
{
    bytes image(0x40000, 0x11);
    force_crc(image, 0);
    write_bytes("game.bin", image);
    EXPECT_EQ(run({path("game.bin"), path("out")}), 0);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{
                  open_target,
                  "box|Error|This file has already been patched. Please use a clean copy."}));
}

TEST_F(identified_run, a_known_bad_source_is_refused_before_the_catalogue)
{
    bytes image(0x40000, 0x11);
    force_crc(image, known_bad_source_crcs[2]);
    write_bytes("game.bin", image);
    EXPECT_EQ(run({path("game.bin"), path("out")}), 0);
    EXPECT_EQ(script_transcript(),
              (std::vector<std::string>{open_target,
                                        "box|Error|This file is known to be bad and is not "
                                        "compatible with our patch.\n\nPlease try a different "
                                        "one."}));
}

} // namespace
