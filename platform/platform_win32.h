// platform_win32.h -- the Windows back end: message boxes, common file dialogs and the clipboard
#ifndef PATCHER_PLATFORM_WIN32_H
#define PATCHER_PLATFORM_WIN32_H

#include "host/platform.h"

#include <windows.h>

#include <commdlg.h>

extern const platform_ops win32_platform;

// Fills record for the open dialog (save == 0) or the save dialog, exactly as it is handed to
// GetOpenFileNameA or GetSaveFileNameA: every member zero except the ones these dialogs need.
void fill_dialog_record(OPENFILENAMEA *record, const char *title, int32_t save,
                        const char *filter_text, char *path, uint32_t capacity);

// The two common dialogs. Tests point these at a stand-in to see the record without a dialog.
extern BOOL(WINAPI *open_file_dialog)(OPENFILENAMEA *record);
extern BOOL(WINAPI *save_file_dialog)(OPENFILENAMEA *record);

#endif
