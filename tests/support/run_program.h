// run_program.h -- runs the built program as a user would, through a shell, and collects the result
#ifndef PATCHER_TESTS_RUN_PROGRAM_H
#define PATCHER_TESTS_RUN_PROGRAM_H

#include "support/temp_folder.h"

#include <map>
#include <string>
#include <vector>

struct program_run {
    std::string exe;    // the program
    std::string folder; // where it starts
    std::string input;  // all of standard input; the program sees its end after it
    std::string setup;  // shell commands before the start (mounts, files), run from folder
    std::string watch;  // a folder whose files are copied out after the run, for the checks
    bool private_mounts = false; // run setup and program in a mount namespace of their own
};

struct program_outcome {
    int exit_code;            // -1 when the program did not exit normally (a signal, a crash)
    bool started;             // the setup succeeded and the program ran
    std::string out, err;     // standard output and standard error
    std::map<std::string, bytes> watched; // name -> bytes of each regular file of the watched folder
    std::vector<std::string> watched_names; // every entry of the watched folder, sorted
};

program_outcome run_program(const program_run &run);

// Whether this process may mount a small tmpfs inside a mount namespace of its own (unshare -m):
// root with the capability to mount, not blocked by a container's policy.
bool can_mount_privately();

#endif
