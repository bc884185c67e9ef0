// exit_status.h -- what the program's exit status says, the same on every system
//
//   0  the patched file was written (or --help or --version was answered)
//   1  the run ended without writing it: refused, failed or cancelled
//   2  the command line could not be followed
#ifndef PATCHER_EXIT_STATUS_H
#define PATCHER_EXIT_STATUS_H

#include "workflow/command_line.h"

#include <cstdint>

// The status of a start whose command line asked for no run (command is not run), or of
// the run it asked for, which wrote its file when written is nonzero.
inline int exit_status(command_outcome command, int32_t written)
{
    switch (command) {
    case command_outcome::run:
        return written ? 0 : 1;
    case command_outcome::answered:
        return 0;
    case command_outcome::usage_error:
        return 2;
    }
    return 2;
}

#endif
