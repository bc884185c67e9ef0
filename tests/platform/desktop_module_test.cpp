// desktop_module_test.cpp -- GTK's libraries are mapped into the program only when there is a
// display: read from the process's own map while it waits at its first prompt.
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The mapped files of the program, started with display (null: none) and stopped at its prompt.
std::string maps_at_first_prompt(const char *display)
{
    int in[2], err[2];
    EXPECT_EQ(pipe2(in, O_CLOEXEC) | pipe2(err, O_CLOEXEC), 0); // only the dup2 copies are inherited
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(err[1], 2);
        unsetenv("WAYLAND_DISPLAY");
        display ? setenv("DISPLAY", display, 1) : unsetenv("DISPLAY");
        execl(PATCHER_EXE, PATCHER_EXE, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(err[1]);
    std::string said, maps;
    char c;
    while (said.find("): ") == std::string::npos && read(err[0], &c, 1) == 1)
        said += c;
    maps = text_file("/proc/" + std::to_string(pid) + "/maps");
    close(in[1]); // end of input: the program cancels and ends
    while (read(err[0], &c, 1) == 1) {
    }
    close(err[0]);
    waitpid(pid, nullptr, 0);
    EXPECT_NE(said.find("Load file to be patched\nFile name (*): "), std::string::npos) << said;
    return maps;
}

} // namespace

TEST(desktop_module, is_loaded_only_when_there_is_a_display)
{
    EXPECT_EQ(maps_at_first_prompt(nullptr).find("libgtk-3"), std::string::npos);
    // A display that names no server: the module beside the program is loaded, then refused.
    const std::string tried = maps_at_first_prompt(":9999");
    EXPECT_NE(tried.find("/patcher-gtk.so"), std::string::npos);
    EXPECT_NE(tried.find("libgtk-3"), std::string::npos);
}
