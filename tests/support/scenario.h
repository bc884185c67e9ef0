// scenario.h -- the whole runs of tests/workflow/scenarios.txt, read once for every front end's
// driver, and the start of the built program in a folder of its own
#ifndef PATCHER_TESTS_SCENARIO_H
#define PATCHER_TESTS_SCENARIO_H

#include "support/temp_folder.h"

#include <string>
#include <utility>
#include <vector>

// One thing the user meets, in order. kind is "open", "save" (title, pattern, answer: a name or
// "-" to cancel), "replace" (answer: "yes" or "no"), "box" (title, text) or "clipboard" (text: what
// the clipboard must hold).
struct scenario_step {
    std::string kind, title, pattern, answer, text;
};

using named_bytes = std::vector<std::pair<std::string, bytes>>;

struct scenario {
    std::string name;
    named_bytes files; // the folder before the run
    std::vector<scenario_step> steps;
    named_bytes saved; // what the run writes
};

// Every scenario of the table; a malformed table fails the calling test.
std::vector<scenario> load_scenarios();

// Writes the scenario's files into folder.
void write_scenario_files(const scenario &s, const std::string &folder);

// "" when folder holds exactly the scenario's files, unchanged, and what it saves; otherwise what
// differs.
std::string folder_problems(const scenario &s, const std::string &folder);

// Starts command through the shell in folder, in the background, after the shell words in env
// ("NAME=value", "-u NAME"); input is all of its standard input, and its standard output, error and
// exit code go to the files out, err and code in io_folder, unless command redirects them itself.
void start_program(const std::string &command, const std::string &folder, const std::string &input,
                   const std::string &io_folder, const std::string &env = "");

// Waits for the program's end: its exit code, or -1 when a signal or the time limit ended it.
int finish_program(const std::string &io_folder);

// The whole text of a file.
std::string text_file(const std::string &path);

#endif
