// terminal_run.h -- the built program in a fresh folder, answered through standard input, and what
// its terminal front end prints
#ifndef PATCHER_TESTS_TERMINAL_RUN_H
#define PATCHER_TESTS_TERMINAL_RUN_H

#include "support/expected_boxes.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

inline const std::string ask_target = "Load file to be patched\nFile name (*): ";
inline const std::string ask_patch = "Load IPS file\nFile name (*.ips): ";
inline const std::string ask_save = "Save patched file\nFile name (*.bin): ";
inline const std::string press_enter = "\nPress Enter to continue.\n";

// A box about an unrecognised result or source, then the clipboard line with the image's CRC-32.
inline std::string unrecognised_result_lines(const bytes &result)
{
    return "Unrecognized patch\n" + unrecognised_patch_text + press_enter +
           "Copied to clipboard: " + crc_text(zlib_crc32(result)) + "\n";
}
inline std::string unrecognised_source_lines(const bytes &source)
{
    return "Unrecognized source file\n" + unrecognised_source_text + press_enter +
           "Copied to clipboard: " + crc_text(zlib_crc32(source)) + "\n";
}

class terminal_test : public testing::Test {
protected:
    void SetUp() override { folder = make_temp_folder(); }
    void TearDown() override { remove_tree(folder); }
    std::string path(const char *name) const { return folder + "/" + name; }
    program_outcome run(const std::string &input)
    {
        program_run r;
        r.exe = PATCHER_EXE;
        r.folder = folder;
        r.input = input;
        return run_program(r);
    }

    std::string folder;
};

#endif
