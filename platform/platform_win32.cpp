// platform_win32.cpp -- message boxes, common file dialogs and the clipboard through Win32
//
// Each call is the plain ANSI form; the manifest makes the ANSI code page UTF-8, so file names in
// any script pass through these calls and through the C library's fopen unchanged.
#include "platform/platform_win32.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// The record in its NT4 form: the dialogs read no member past lpTemplateName, and the form is
// understood by every version of comdlg32. That is 76 bytes where pointers take 4 bytes.
// (OPENFILENAME_SIZE_VERSION_400A is this size, but not a constant expression in every header.)
const DWORD dialog_record_size = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void *) != 4 || dialog_record_size == 76,
              "the 32-bit dialog record is the 76-byte form");

const DWORD open_flags = OFN_READONLY | OFN_FILEMUSTEXIST; // 0x1001: only existing files
// No OFN_OVERWRITEPROMPT: the dialog's own question may default to replacing (wine's does), so the
// program asks its own, whose default is No, once the dialog has closed.
const DWORD save_flags = OFN_HIDEREADONLY; // 0x0004: no read-only box
static_assert(open_flags == 0x1001 && save_flags == 0x0004, "the dialogs' flags");

const char current_folder[] = ".";   // every dialog starts in the process's current directory
const char no_default_extension[] = ""; // present but empty: the save dialog keeps typed names

// Fills record for the open dialog (save == 0) or the save dialog, exactly as it is handed to
// GetOpenFileNameA or GetSaveFileNameA: every member zero except the ones these dialogs need.
void fill_dialog_record(OPENFILENAMEA *record, const char *title, int32_t save,
                        const char *filter_text, char *path, uint32_t capacity)
{
    std::memset(record, 0, sizeof *record);
    record->lStructSize = dialog_record_size;
    record->hwndOwner = nullptr;
    record->lpstrFilter = filter_text;
    record->nFilterIndex = 1; // the filter's one entry
    record->lpstrFile = path;
    record->nMaxFile = capacity;
    record->lpstrInitialDir = current_folder;
    record->lpstrTitle = title;
    record->lpstrDefExt = no_default_extension;
    record->Flags = save ? save_flags : open_flags;
}

void win32_show_message(const char *text, const char *title)
{
    MessageBoxA(nullptr, text, title, MB_OK);
}

int32_t show_dialog(const char *title, int32_t save, const char *filter_text, char *path,
                    uint32_t capacity)
{
    OPENFILENAMEA record;
    fill_dialog_record(&record, title, save, filter_text, path, capacity);
    BOOL chosen = save ? GetSaveFileNameA(&record) : GetOpenFileNameA(&record);
    return chosen ? 1 : 0;
}

int32_t win32_choose_to_read(const char *title, const char *, const char *filter_text, char *path,
                             uint32_t capacity)
{
    return show_dialog(title, 0, filter_text, path, capacity);
}

int32_t win32_confirm_replace(const char *name);

// The save dialog comes back after a declined replace, as it would after its own question.
int32_t win32_choose_to_write(const char *title, const char *, const char *filter_text, char *path,
                              uint32_t capacity)
{
    while (show_dialog(title, 1, filter_text, path, capacity)) {
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES || win32_confirm_replace(path))
            return 1;
    }
    return 0;
}

// Opens the clipboard with no owner window, empties it and hands it a movable block holding the
// text. The clipboard is closed whenever it was opened; without a block it is simply left empty.
int32_t win32_put_clipboard_text(const char *text)
{
    if (!OpenClipboard(nullptr))
        return 0;
    EmptyClipboard();
    size_t size = std::strlen(text) + 1; // the text and its NUL
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block) {
        void *bytes = GlobalLock(block);
        int32_t handed_over = 0;
        if (bytes) {
            std::memcpy(bytes, text, size);
            GlobalUnlock(block);
            handed_over = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!handed_over)
            GlobalFree(block); // the clipboard never took it, so it is still ours to free
    }
    CloseClipboard();
    return 1;
}

// The question the save dialog would have asked, for an output named on the command line; "No" is
// the default, as it is there.
int32_t win32_confirm_replace(const char *name)
{
    static char question[1200];
    std::snprintf(question, sizeof question, "%s already exists.\nDo you want to replace it?", name);
    return MessageBoxA(nullptr, question, "Save patched file",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

const platform_ops win32_platform = {win32_show_message, win32_choose_to_read,
                                     win32_choose_to_write, win32_put_clipboard_text,
                                     win32_confirm_replace};
