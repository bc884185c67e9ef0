// prepare_end_to_end_test.cpp -- the built program given headed, interleaved and patch-file targets
#include "smd_reference.h"
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

const uint32_t image_length = 0x40000; // the smallest image the program patches

class prepared_run : public terminal_test {
protected:
    void SetUp() override
    {
        terminal_test::SetUp();
        // A cartridge image as the patch expects it: linear, "SEGA" at its cartridge header.
        linear = marker_free_noise(image_length, 5);
        std::copy_n("SEGA", 4, linear.begin() + 0x100);
        write_bytes(path("fix.ips"), make_patch({0x00, 0x01, 0x04, 0x00, 0x02, 0xAB, 0xCD}));
    }
    // Runs the program; returns standard error and sets out to standard output.
    std::string run(const std::string &input, std::string &out)
    {
        terminal_outcome o = terminal_test::run(input);
        EXPECT_EQ(o.exit_code, 0);
        out = o.out;
        return o.err;
    }

    bytes patched_linear() const
    {
        bytes b = linear;
        b[0x104] = 0xAB;
        b[0x105] = 0xCD;
        return b;
    }

    bytes linear;
};

TEST_F(prepared_run, interleaved_image_behind_a_copier_header_is_saved_plain_and_linear)
{
    bytes file = marker_free_noise(512, 9); // the copier's header, which must not come back
    bytes interleaved = interleaved_from_linear(linear);
    file.insert(file.end(), interleaved.begin(), interleaved.end());
    write_bytes(path("game.smd"), file);

    std::string out;
    EXPECT_EQ(run("game.smd\n\nfix.ips\n\nresult\n", out),
              ask_target + unrecognised_source_lines(linear) + ask_patch +
                  unrecognised_result_lines(patched_linear()) + ask_save);
    EXPECT_EQ(out, "");
    EXPECT_EQ(read_bytes(path("result.bin")), patched_linear());
    EXPECT_EQ(read_bytes(path("game.smd")), file);
}

TEST_F(prepared_run, disk_image_behind_its_header_is_saved_without_it)
{
    bytes file = marker_free_noise(256, 3);
    std::copy_n("DIFC HEADER", 11, file.begin() + 0xAB);
    file.insert(file.end(), linear.begin(), linear.end());
    write_bytes(path("disk.dsk"), file);

    std::string out;
    EXPECT_EQ(run("disk.dsk\n\nfix.ips\n\nresult\n", out),
              ask_target + unrecognised_source_lines(linear) + ask_patch +
                  unrecognised_result_lines(patched_linear()) + ask_save);
    EXPECT_EQ(read_bytes(path("result.bin")), patched_linear());
}

TEST_F(prepared_run, a_patch_chosen_as_the_target_shows_the_user_error_box_and_nothing_else)
{
    std::string out;
    std::string err = run("fix.ips\n\nfix.ips\nresult\n", out);
    EXPECT_EQ(err, ask_target +
                       "User error\nYou loaded a patch file.\n\nYou're supposed to load the target "
                       "file first for identification purposes.\n\nPlease try again.\nPress Enter "
                       "to continue.\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"fix.ips"});
}

} // namespace
