// platform_win32.h -- the Windows back end: message boxes, common file dialogs and the clipboard
#ifndef PATCHER_PLATFORM_WIN32_H
#define PATCHER_PLATFORM_WIN32_H

#include "host/platform.h"

#include <windows.h>

#include <commdlg.h>

extern const platform_ops win32_platform;

// The two common dialogs. Tests point these at a stand-in to see the record without a dialog.
extern BOOL(WINAPI *open_file_dialog)(OPENFILENAMEA *record);
extern BOOL(WINAPI *save_file_dialog)(OPENFILENAMEA *record);

#endif
