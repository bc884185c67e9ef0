// run_program.h -- starts the built program as a user would, in a folder, and waits for its end
#ifndef PATCHER_TESTS_RUN_PROGRAM_H
#define PATCHER_TESTS_RUN_PROGRAM_H

#include <string>

// Starts command through the shell in folder, in the background, after the shell words in env
// ("NAME=value", "-u NAME"); input is all of its standard input, and its standard output, error and
// exit code go to the files out, err and code in io_folder.
void start_program(const std::string &command, const std::string &folder, const std::string &input,
                   const std::string &io_folder, const std::string &env = "");

// Waits for the program's end: its exit code, or -1 when a signal or the time limit ended it.
int finish_program(const std::string &io_folder);

// The whole text of a file.
std::string text_file(const std::string &path);

#endif
