// host_dialogs.cpp -- message boxes, file dialogs and the clipboard, handed to the platform in use
#include "host/host_services.h"
#include "host/platform.h"

#include <cstdio>
#include <cstring>

namespace {

// Until a back end is chosen every box is dropped and every dialog is cancelled.
void drop_message(const char *, const char *) {}
int32_t cancel_dialog(const char *, const char *, const char *, char *, uint32_t) { return 0; }
int32_t refuse_clipboard(const char *) { return 0; }
int32_t keep_file(const char *) { return 0; }

const platform_ops no_platform = {drop_message, cancel_dialog, cancel_dialog, refuse_clipboard,
                                  keep_file};
const platform_ops *platform = &no_platform;

// Writes the dialog filter for pattern into filter (filter_text_size bytes): one entry whose
// description is the pattern itself, then the empty entry that ends the list. A pattern that does
// not fit leaves the area all zero (every pattern is a constant that fits).
void build_filter_text(const char *pattern, char *filter)
{
    std::memset(filter, 0, filter_text_size);
    size_t length = std::strlen(pattern);
    if (2 * (length + 1) + 1 > filter_text_size)
        return;
    std::memcpy(filter, pattern, length);
    std::memcpy(filter + length + 1, pattern, length);
}

} // namespace

void platform_use(const platform_ops *ops)
{
    platform = ops ? ops : &no_platform;
}

void show_message(const char *text, const char *title)
{
    platform->show_message(text, title);
}

int32_t browse_for_file(const char *title, int32_t save, const char *pattern, char *path,
                        uint32_t capacity)
{
    if (capacity == 0)
        return 0;
    path[0] = '\0';
    char filter[filter_text_size];
    build_filter_text(pattern, filter);
    int32_t chosen = save ? platform->choose_file_to_write(title, pattern, filter, path, capacity)
                          : platform->choose_file_to_read(title, pattern, filter, path, capacity);
    // A failed dialog may leave bytes in path (Win32 puts the size it wanted there); only a chosen
    // name may remain, and it ends inside the buffer.
    if (!chosen)
        path[0] = '\0';
    path[capacity - 1] = '\0';
    return chosen;
}

int32_t choose_file(const char *given_name, const char *title, int32_t save, const char *pattern,
                    char *path, uint32_t capacity)
{
    if (!given_name)
        return browse_for_file(title, save, pattern, path, capacity);
    path[0] = '\0';
    if (std::strlen(given_name) >= capacity) {
        std::fprintf(stderr, "patcher: cannot %s %s: File name too long\n", save ? "write" : "read",
                     given_name);
        return 0;
    }
    std::memcpy(path, given_name, std::strlen(given_name) + 1);
    return 1;
}

int32_t ask_to_replace(const char *name)
{
    return platform->confirm_replace(name);
}

// The failure line is the same on every platform, so it is written here rather than by each back
// end; flushed at once, so that it stands in order with whatever the back end says on its own.
void copy_text_to_clipboard(const char *text)
{
    if (!platform->put_clipboard_text(text)) {
        std::puts("Error opening clipboard");
        std::fflush(stdout);
    }
}
