// main_web.cpp -- the browser edition's entry: one run of the patcher per load of the page
#include "platform/platform_web.h"
#include "workflow/run_patcher.h"

int main()
{
    platform_use(&web_platform);
    // Only a saved result has anything to hand to the browser; every other outcome has been shown.
    finish_web_run(run_patcher());
    return 0;
}
