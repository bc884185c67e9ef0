// terminal_end_to_end_test.cpp -- the built program, driven through standard input as a user would
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
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

    // The target prompt, the unrecognised-source box for image with its clipboard line, and the
    // patch prompt.
    std::string up_to_patch_prompt() const
    {
        return ask_target + unrecognised_source_lines(image) + ask_patch;
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
    terminal_outcome o = run("game.bin\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, up_to_patch_prompt() + unrecognised_result_lines(patched()) + ask_save);
    EXPECT_EQ(read_bytes(path("result.bin")), patched());
    EXPECT_EQ(read_bytes(path("game.bin")), image);
}

TEST_F(terminal_run, crlf_answers_and_a_missing_name_asked_again)
{
    terminal_outcome o = run("nothere\r\ngame.bin\r\n\r\nfix.ips\r\n\r\nout.img\r\n");
    EXPECT_EQ(o.err, "Load file to be patched\nFile name (*): No such file: nothere\n"
                     "File name (*): " +
                         unrecognised_source_lines(image) + ask_patch +
                         unrecognised_result_lines(patched()) + ask_save);
    EXPECT_EQ(read_bytes(path("out.img")), patched());
}

TEST_F(terminal_run, replace_question_takes_yes_in_any_case_and_asks_again_on_no)
{
    write_bytes(path("old.bin"), bytes{1});
    terminal_outcome o = run("game.bin\n\nfix.ips\n\nold.bin\nn\nold\nYeS\n");
    EXPECT_EQ(o.err, up_to_patch_prompt() + unrecognised_result_lines(patched()) + ask_save +
                         "old.bin already exists. Replace it? [y/N] File name (*.bin): "
                         "old.bin already exists. Replace it? [y/N] ");
    EXPECT_EQ(read_bytes(path("old.bin")), patched());
}

TEST_F(terminal_run, end_of_input_cancels_at_every_prompt_and_writes_nothing)
{
    write_bytes(path("old.bin"), bytes{1});
    const char *inputs[] = {"", "game.bin\n", "game.bin\n\n", "game.bin\n\nfix.ips\n",
                            "game.bin\n\nfix.ips\n\n",
                            "game.bin\n\nfix.ips\n\nold.bin\n", "game.bin\n\nfix.ips\n\n\n"};
    for (const char *input : inputs) {
        terminal_outcome o = run(input);
        EXPECT_EQ(o.exit_code, 0) << input;
        EXPECT_EQ(o.out, "") << input;
        EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin", "old.bin"}))
            << input;
        EXPECT_EQ(read_bytes(path("old.bin")), bytes{1});
    }
}

TEST_F(terminal_run, a_name_too_long_for_the_dialog_is_refused_and_asked_again)
{
    std::string long_name(1019, 'x');
    terminal_outcome o = run(long_name + "\ngame.bin\n\n\n");
    EXPECT_NE(o.err.find("That name is too long (at most 1018 characters).\nFile name (*): "),
              std::string::npos);
    EXPECT_NE(o.err.find(ask_patch), std::string::npos) << "the second answer was taken";
}

TEST_F(terminal_run, a_failure_shows_its_box_and_waits_for_enter)
{
    write_bytes(path("small.bin"), bytes(0x3FFFF, 0));
    terminal_outcome o = run("small.bin\n\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.err, ask_target +
                         "Error\nFile size is too small or error loading file\nPress Enter to "
                         "continue.\n");
    EXPECT_EQ(o.out, "");
}

// A patch that turns image into result, which differs from it in the last four bytes at most.
bytes tail_patch(const bytes &result)
{
    const uint32_t at = static_cast<uint32_t>(result.size()) - 4;
    return make_patch({uint8_t(at >> 16), uint8_t(at >> 8), uint8_t(at), 0, 4, result[at],
                       result[at + 1], result[at + 2], result[at + 3]});
}

// The patch sets the last four bytes so that the result's CRC-32 has leading zeros.
TEST_F(terminal_run, an_unrecognised_result_puts_its_crc_on_the_clipboard_before_the_save)
{
    bytes result = image;
    force_crc(result, 0x00C0FFEE);
    write_bytes(path("zeros.ips"), tail_patch(result));
    terminal_outcome o = run("game.bin\n\nzeros.ips\n\nout\n");
    EXPECT_EQ(o.err, up_to_patch_prompt() + "Unrecognized patch\n" + unrecognised_patch_text +
                         press_enter + "Copied to clipboard: 0x00C0FFEE\n" + ask_save);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(read_bytes(path("out.bin")), result);
}

TEST_F(terminal_run, an_outdated_result_is_refused_and_nothing_is_written)
{
    bytes result = image;
    force_crc(result, 0);
    write_bytes(path("old.ips"), tail_patch(result));
    terminal_outcome o = run("game.bin\n\nold.ips\n\nout\n");
    EXPECT_EQ(o.err, up_to_patch_prompt() + "Error\n" + outdated_patch_text + press_enter);
    EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin", "old.ips"}));
}

TEST_F(terminal_run, a_faulty_patch_ends_with_its_message_and_writes_nothing)
{
    write_bytes(path("bad.ips"), make_patch({0x04, 0x00, 0x00, 0x00, 0x01, 0x01}));
    terminal_outcome o = run("game.bin\n\nbad.ips\nout\n");
    EXPECT_EQ(o.err, up_to_patch_prompt() + "Error\nError in patch file" + press_enter);
    EXPECT_FALSE(file_exists(path("out.bin")));
}

} // namespace
