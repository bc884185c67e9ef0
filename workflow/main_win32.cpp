// main_win32.cpp -- the program entry on Windows: one run of the patcher, exit code 0
#include "workflow/platform_win32.h"
#include "workflow/run_patcher.h"

// The four customary arguments mean nothing to the patcher: it has no options and no main window.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform_use(&win32_platform);
    run_patcher(); // every outcome has been shown to the user; the exit code never tells
    return 0;
}
