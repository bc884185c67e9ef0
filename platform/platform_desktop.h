// platform_desktop.h -- the desktop back end, offered only when a display can be opened
#ifndef PATCHER_PLATFORM_DESKTOP_H
#define PATCHER_PLATFORM_DESKTOP_H

#include "host/platform.h"

// Connects to the display and returns the desktop back end, or null when there is no display (or
// the program was built without a desktop back end): the caller then falls back to the terminal.
const platform_ops *open_desktop_platform();

#endif
