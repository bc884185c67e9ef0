// run_program.h -- starts the built program as a user would, in a folder, and waits for its end
#ifndef PATCHER_TESTS_RUN_PROGRAM_H
#define PATCHER_TESTS_RUN_PROGRAM_H

#include <string>
#include <sys/types.h>
#include <vector>

// Starts argv in folder with input as all of standard input; standard output and error go to the
// files out and err in io_folder. env holds "NAME=value" to set and "NAME" to unset.
pid_t start_program(const std::vector<std::string> &argv, const std::string &folder,
                    const std::string &input, const std::string &io_folder,
                    const std::vector<std::string> &env);

// Waits up to seconds for the program's end: its exit code, or -1 when it was ended by a signal or
// did not end in time (it is then killed).
int finish_program(pid_t pid, int seconds);

// The whole text of a file.
std::string text_file(const std::string &path);

#endif
