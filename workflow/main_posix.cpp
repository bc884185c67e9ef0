// main_posix.cpp -- the program entry on POSIX systems: one run of the patcher, exit code 0
#include "workflow/platform_terminal.h"
#include "workflow/run_patcher.h"

int main()
{
    platform_use(&terminal_platform);
    run_patcher(); // every outcome has been shown to the user; the exit code never tells
    return 0;
}
