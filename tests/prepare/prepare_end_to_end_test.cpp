// prepare_end_to_end_test.cpp -- the built program given a headed, interleaved target and a
// patch file as the target
#include "smd_reference.h"
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

class prepared_run : public terminal_test {};

TEST_F(prepared_run, interleaved_image_behind_a_copier_header_is_saved_plain_and_linear)
{
    // A cartridge image as the patch expects it: linear, "SEGA" at its cartridge header.
    bytes linear = marker_free_noise(0x40000, 5);
    std::copy_n("SEGA", 4, linear.begin() + 0x100);
    bytes file = marker_free_noise(512, 9); // the copier's header, which must not come back
    bytes interleaved = interleaved_from_linear(linear);
    file.insert(file.end(), interleaved.begin(), interleaved.end());
    write_bytes(path("game.smd"), file);
    write_bytes(path("fix.ips"), make_patch({0x00, 0x01, 0x04, 0x00, 0x02, 0xAB, 0xCD}));
    bytes patched = linear;
    patched[0x104] = 0xAB;
    patched[0x105] = 0xCD;

    program_outcome o = run("game.smd\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, ask_target + unrecognised_source_lines(linear) + ask_patch +
                         unrecognised_result_lines(patched) + ask_save);
    EXPECT_EQ(read_bytes(path("result.bin")), patched);
    EXPECT_EQ(read_bytes(path("game.smd")), file);
}

TEST_F(prepared_run, a_patch_chosen_as_the_target_shows_the_user_error_box_and_nothing_else)
{
    write_bytes(path("fix.ips"), make_patch({0x00, 0x01, 0x04, 0x00, 0x01, 0xAB}));
    program_outcome o = run("fix.ips\n\nfix.ips\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.err, ask_target +
                         "User error\nYou loaded a patch file.\n\nYou're supposed to load the target "
                         "file first for identification purposes.\n\nPlease try again." +
                         press_enter);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"fix.ips"});
}

} // namespace
