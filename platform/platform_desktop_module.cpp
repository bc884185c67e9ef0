// platform_desktop_module.cpp -- opens the GTK module when there is a display to show windows on
//
// The module sits beside the program in the build tree, and in the library folder of the install
// prefix (PREFIX/lib/patcher, next to PREFIX/bin) once installed. When neither can be opened the
// run goes on in the terminal, as it does without a display.
#include "platform/platform_desktop.h"
#include "platform/platform_gtk_module.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

char program_folder[4096];
char module_path[4096 + 64];

// The folder of the running program, from the kernel rather than argv[0]: the same wherever the
// program was started from and whatever it was called.
int32_t find_program_folder()
{
    ssize_t length = readlink("/proc/self/exe", program_folder, sizeof program_folder - 1);
    if (length <= 0)
        return 0;
    program_folder[length] = '\0';
    char *slash = std::strrchr(program_folder, '/');
    if (!slash)
        return 0;
    *slash = '\0';
    return 1;
}

void *open_module(const char *relative_folder)
{
    std::snprintf(module_path, sizeof module_path, "%s/%s%s", program_folder, relative_folder,
                  PATCHER_GTK_MODULE_FILE);
    return dlopen(module_path, RTLD_NOW | RTLD_LOCAL);
}

} // namespace

const platform_ops *open_desktop_platform()
{
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland))
        return nullptr;
    if (!find_program_folder())
        return nullptr;
    void *module = open_module("");
    if (!module)
        module = open_module("../lib/patcher/");
    if (!module)
        return nullptr;
    using open_function = const platform_ops *(*)();
    auto open = reinterpret_cast<open_function>(dlsym(module, PATCHER_GTK_MODULE_ENTRY));
    return open ? open() : nullptr; // GTK stays loaded even when the display refused it
}
