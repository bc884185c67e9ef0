// terminal_end_to_end_test.cpp -- the built program, driven through standard input as a user would
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

class terminal_run : public terminal_test {
protected:
    void SetUp() override
    {
        terminal_test::SetUp();
        write_bytes(path("game.bin"), image);
        write_bytes(path("fix.ips"), make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99}));
    }

    bytes patched() const
    {
        bytes b = image;
        b[0x10] = 0x99;
        return b;
    }

    bytes image = bytes(0x40000, 0x11);
};

TEST_F(terminal_run, whole_run_adds_the_extension_and_writes_the_patched_image)
{
    program_outcome o = run("game.bin\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, ask_target + unrecognised_source_lines(image) + ask_patch +
                         unrecognised_result_lines(patched()) + ask_save);
    EXPECT_EQ(read_bytes(path("result.bin")), patched());
    EXPECT_EQ(read_bytes(path("game.bin")), image);
}

// CRLF answers throughout; "old" gets its extension before the question.
TEST_F(terminal_run, a_missing_name_is_asked_again_and_replacing_takes_yes_in_any_case)
{
    write_bytes(path("old.bin"), bytes{1});
    program_outcome o = run("nothere\r\ngame.bin\r\n\r\nfix.ips\r\n\r\nold.bin\r\nn\r\nold\r\nYeS\r\n");
    EXPECT_EQ(o.err, ask_target + "No such file: nothere\nFile name (*): " +
                         unrecognised_source_lines(image) + ask_patch +
                         unrecognised_result_lines(patched()) + ask_save +
                         "old.bin already exists. Replace it? [y/N] File name (*.bin): "
                         "old.bin already exists. Replace it? [y/N] ");
    EXPECT_EQ(read_bytes(path("old.bin")), patched());
    EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin", "old.bin"}));
}

TEST_F(terminal_run, an_empty_name_cancels_every_dialog)
{
    for (const char *input : {"\n", "game.bin\n\n\n", "game.bin\n\nfix.ips\n\n\n"}) {
        program_outcome o = run(input);
        EXPECT_EQ(o.exit_code, 0) << input;
        EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin"})) << input;
    }
}

// Refused, not cut: the first characters name a real file, and the name asked next is taken.
TEST_F(terminal_run, a_name_too_long_for_the_dialog_is_refused_and_asked_again)
{
    std::string long_name = "game.bin" + std::string(1019 - 8, ' ');
    program_outcome o = run(long_name + "\ngame.bin\n\n\n");
    EXPECT_EQ(o.err.rfind(ask_target + "That name is too long (at most 1018 characters).\n"
                                       "File name (*): " + unrecognised_source_lines(image) + ask_patch,
                          0),
              0u)
        << o.err;
}

// A long line at a box is one Enter, and the run ends after the box.
TEST_F(terminal_run, a_failure_shows_its_box_and_waits_for_enter)
{
    write_bytes(path("small.bin"), bytes(0x3FFFF, 0));
    program_outcome o = run("small.bin\n" + std::string(100000, 'x') + "\ngame.bin\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.err, ask_target + "Error\nFile size is too small or error loading file" + press_enter);
    EXPECT_EQ(o.out, "");
}

TEST_F(terminal_run, a_faulty_patch_ends_with_its_message_and_writes_nothing)
{
    write_bytes(path("bad.ips"), make_patch({0x04, 0x00, 0x00, 0x00, 0x01, 0x01}));
    program_outcome o = run("game.bin\n\nbad.ips\nout\n");
    EXPECT_EQ(o.err, ask_target + unrecognised_source_lines(image) + ask_patch +
                         "Error\nError in patch file" + press_enter);
    EXPECT_FALSE(file_exists(path("out.bin")));
}

} // namespace
