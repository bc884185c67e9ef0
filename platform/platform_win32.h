// platform_win32.h -- the Windows back end: message boxes, common file dialogs and the clipboard
#ifndef PATCHER_PLATFORM_WIN32_H
#define PATCHER_PLATFORM_WIN32_H

#include "host/platform.h"

#include <windows.h>

#include <commdlg.h>

extern const platform_ops win32_platform;

#endif
