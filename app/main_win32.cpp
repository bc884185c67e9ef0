// main_win32.cpp -- the program entry on Windows: the command line, then one run
//
// Files dropped on patcher.exe, or opened with it, arrive as its arguments. They are read from the
// wide-character command line and converted to UTF-8, so that any name works whatever the code
// page. The exit status is the same as on POSIX systems.
#include "app/exit_status.h"
#include "host/files/file_system.h"
#include "host/host_services.h"
#include "platform/platform_win32.h"
#include "workflow/run_patcher.h"

#include <shellapi.h>

namespace {

const int most_arguments = 16; // more than any usage takes: the rest are refused as too many
const int argument_room = 4 * 1024;

char argument_text[most_arguments][argument_room];
char *arguments[most_arguments];

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    start_file_system();
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        count = 0;
    if (count > most_arguments)
        count = most_arguments;
    for (int i = 0; i < count; i++) {
        arguments[i] = argument_text[i];
        if (!WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument_text[i], argument_room, nullptr,
                                 nullptr))
            argument_text[i][0] = '\0'; // too long for any path: its load fails and says so
    }
    LocalFree(wide);
    command_outcome outcome = read_command_line(count, arguments);
    if (outcome == command_outcome::answered)
        return exit_status(outcome, 0);
    platform_use(&win32_platform);
    if (outcome == command_outcome::usage_error) {
        // A program without a console: the reason needs a box.
        show_message(usage_error_text(), "Error");
        return exit_status(outcome, 0);
    }
    return exit_status(command_outcome::run, run_patcher());
}
