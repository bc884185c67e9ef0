// main_posix.cpp -- the program entry on POSIX systems: the command line, then one run
#include "app/exit_status.h"
#include "host/files/file_system.h"
#include "host/host_services.h"
#include "platform/platform_desktop.h"
#include "platform/platform_terminal.h"
#include "workflow/run_patcher.h"

int main(int argc, char **argv)
{
    start_file_system();
    command_outcome outcome = read_command_line(argc, argv);
    if (outcome == command_outcome::answered)
        return exit_status(outcome, 0);
    // The one place where the back end is chosen: windows when a display can be opened, the
    // terminal otherwise, so a machine without a display never loads a window.
    const platform_ops *desktop = open_desktop_platform();
    platform_use(desktop ? desktop : &terminal_platform);
    if (outcome == command_outcome::usage_error) {
        // Started from a file manager, the user sees no standard error: the reason needs a box.
        if (desktop)
            show_message(usage_error_text(), "Error");
        return exit_status(outcome, 0);
    }
    return exit_status(command_outcome::run, run_patcher());
}
