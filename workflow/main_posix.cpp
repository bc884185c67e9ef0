// main_posix.cpp -- the program entry on POSIX systems: the command line, then one run
//
// Exit status: 0 when the patched file was written, 1 when the run ended without writing it
// (refused, failed or cancelled), 2 for a command line it cannot follow.
#include "workflow/command_line.h"
#include "workflow/file_system.h"
#include "workflow/platform_desktop.h"
#include "workflow/platform_terminal.h"
#include "workflow/run_patcher.h"

int main(int argc, char **argv)
{
    start_file_system();
    command_outcome outcome = read_command_line(argc, argv);
    if (outcome != command_run)
        return outcome == command_answered ? 0 : 2;
    // The one place where the back end is chosen: windows when a display can be opened, the
    // terminal otherwise, so a machine without a display never loads a window.
    const platform_ops *desktop = open_desktop_platform();
    platform_use(desktop ? desktop : &terminal_platform);
    return run_patcher() ? 0 : 1;
}
