// platform_gtk_module.h -- the one entry of the GTK module, which the program opens with dlopen
//
// The GTK back end is built as a module of its own so that a run without a display never loads
// GTK's libraries: the program looks this symbol up by name only when there is a display to use.
#ifndef PATCHER_PLATFORM_GTK_MODULE_H
#define PATCHER_PLATFORM_GTK_MODULE_H

#include "host/platform.h"

#define PATCHER_GTK_MODULE_FILE "patcher-gtk.so"
#define PATCHER_GTK_MODULE_ENTRY "patcher_gtk_open"

// Connects to the display and returns the GTK back end, or null when the display cannot be opened.
extern "C" __attribute__((visibility("default"))) const platform_ops *patcher_gtk_open();

#endif
