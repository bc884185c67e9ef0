// host_services.h -- dialogs, message boxes, whole-file reading and writing, and the clipboard
//
// Every file the patcher touches and every word it says to the user passes through here. The
// dialogs, boxes and clipboard reach the platform through platform.h; files use standard C streams.
#ifndef PATCHER_HOST_SERVICES_H
#define PATCHER_HOST_SERVICES_H

#include <cstdint>
#include <cstdio>

constexpr uint32_t filter_text_size = 40; // pattern, NUL, pattern, NUL, NUL: "*.ips;*.zip;*.gz" and room to spare

// Shows the modal message box: text under title, one OK button.
void show_message(const char *text, const char *title);

// Empties path, then shows the open (save == 0) or save dialog. Nonzero when a name was chosen;
// callers decide by the path, which stays empty on cancel.
int32_t browse_for_file(const char *title, int32_t save, const char *pattern, char *path,
                        uint32_t capacity);

// Takes the name the command line gave for this dialog into path, or shows the dialog when it
// gave none; returns as browse_for_file does. A given name too long for path counts as
// cancelled, with its reason on standard error.
int32_t choose_file(const char *given_name, const char *title, int32_t save, const char *pattern,
                    char *path, uint32_t capacity);

// Asks whether the existing file name may be replaced: 1 when the user agrees.
int32_t ask_to_replace(const char *name);

// Reads up to capacity bytes of the file into buffer, and sets *cut to 1 when the file held more.
// Returns the number of bytes read, 0 when the file cannot be opened, is empty, or its read breaks
// off early (the reason of a failure goes to standard error). The file is opened and read once, so
// a pipe or a device serves as well as a file; one byte past the capacity tells that it was cut.
uint32_t read_file(const char *path, uint8_t *buffer, uint32_t capacity, int32_t *cut);

// The warning of a file cut to the capacity.
void warn_file_cut();

// Says on standard error why the file name could not be read or written ("read", "write"): one
// line, "patcher: cannot ACTION NAME: REASON", in the system's own words.
void report_file_error(const char *action, const char *name);

// read_file for a file that may well be absent (its absence is no error, so it is not reported),
// with the warning of a cut file shown here.
uint32_t load_file_if_present(const char *path, uint8_t *buffer, uint32_t capacity);

enum class save_result : uint8_t {
    written,    // the image is in place under the name
    name_taken, // the name was free when chosen and has been taken since: nothing was written
    failed,     // nothing was written, and standard error says why
};

// Writes the image whole under name, replacing the file of that name (or the file a symbolic link
// there leads to) only with a complete copy, and only when may_replace is 1. An existing file
// stays as it was unless the result is written. Once the new file is in place the save is done:
// a folder that cannot then be synced is said on standard error, and the result is written.
save_result save_whole_file(const char *name, const uint8_t *image, uint32_t length,
                            int32_t may_replace);

// Puts text on the clipboard; reports "Error opening clipboard" on standard output when it can't.
void copy_text_to_clipboard(const char *text);

#endif
