// platform_no_desktop.cpp -- stands in for the desktop back end in builds without one
#include "platform/platform_desktop.h"

const platform_ops *open_desktop_platform()
{
    return nullptr; // no toolkit was built in, so every run uses the terminal
}
