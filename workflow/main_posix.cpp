// main_posix.cpp -- the program entry on POSIX systems: one run of the patcher, exit code 0
#include "workflow/file_system.h"
#include "workflow/platform_desktop.h"
#include "workflow/platform_terminal.h"
#include "workflow/run_patcher.h"

int main()
{
    start_file_system();
    // The one place where the back end is chosen: windows when a display can be opened, the
    // terminal otherwise, so a machine without a display never loads a window.
    const platform_ops *desktop = open_desktop_platform();
    platform_use(desktop ? desktop : &terminal_platform);
    run_patcher(); // every outcome has been shown to the user; the exit code never tells
    return 0;
}
