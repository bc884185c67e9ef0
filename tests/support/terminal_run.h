// terminal_run.h -- runs the built program in a test folder, answering it through standard input
#ifndef PATCHER_TESTS_TERMINAL_RUN_H
#define PATCHER_TESTS_TERMINAL_RUN_H

#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>

struct terminal_outcome {
    int exit_code; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// What the terminal front end prints for the three dialogs of a run and after every box.
inline const std::string ask_target = "Load file to be patched\nFile name (*): ";
inline const std::string ask_patch = "Load IPS file\nFile name (*.ips): ";
inline const std::string ask_save = "Save patched file\nFile name (*.bin): ";
inline const std::string press_enter = "\nPress Enter to continue.\n";

// Starts the program in folder with input on its standard input and collects what it wrote.
terminal_outcome run_in_terminal(const std::string &folder, const std::string &input);

// The "Unrecognized patch" box for a patched image, and the clipboard line after it.
std::string unrecognised_result_lines(const bytes &result);

// The "Unrecognized source file" box for a source image, and the clipboard line after it.
std::string unrecognised_source_lines(const bytes &source);

// A test with a fresh folder for the program to work in.
class terminal_test : public testing::Test {
protected:
    void SetUp() override { folder = make_temp_folder(); }
    void TearDown() override { remove_tree(folder); }
    std::string path(const char *name) const { return folder + "/" + name; }
    terminal_outcome run(const std::string &input) { return run_in_terminal(folder, input); }

    std::string folder;
};

#endif
