// platform.h -- the few things the patcher asks of the platform it runs on
//
// Each back end (terminal, GTK, Win32, the browser page, and a scripted one for tests) fills one
// platform_ops table in a file of its own; the program picks the table once at start-up and hands
// it to platform_use.
// Everything else the patcher does -- files, filters, capacities, messages -- is in the core.
#ifndef PATCHER_PLATFORM_H
#define PATCHER_PLATFORM_H

#include <cstdint>

struct platform_ops {
    // Shows text under title and waits until the user acknowledges it.
    void (*show_message)(const char *text, const char *title);

    // Let the user pick one existing file (read) or name a file to write, starting in the current
    // directory and offering the one pattern; filter_text is that pattern as a Windows filter list
    // (pattern, NUL, pattern, NUL, NUL). The choice goes into path, NUL-terminated within capacity;
    // path is left empty on cancel. The write dialog asks before an existing file is replaced.
    // Return 1 when a name was chosen, 0 otherwise.
    int32_t (*choose_file_to_read)(const char *title, const char *pattern, const char *filter_text,
                                   char *path, uint32_t capacity);
    int32_t (*choose_file_to_write)(const char *title, const char *pattern, const char *filter_text,
                                    char *path, uint32_t capacity);

    // Replaces the clipboard's contents with text. Returns 0 only when the clipboard could not be
    // opened (the core then says so on standard output); a clipboard that opened but took no text
    // still returns 1.
    int32_t (*put_clipboard_text)(const char *text);

    // Asks whether the existing file name, given on the command line, may be replaced. Returns 1
    // on yes; 0 on no, and when no answer can come.
    int32_t (*confirm_replace)(const char *name);
};

// Makes ops the back end that every later dialog, box and clipboard call goes to.
void platform_use(const platform_ops *ops);

#endif
