// save_patched_file.cpp -- the last step of a run: asks for the output name and saves the image
#include "workflow/save_patched_file.h"

#include "host/files/file_system.h"
#include "host/host_services.h"
#include "workflow/command_line.h"
#include "workflow/patcher_storage.h"

int32_t save_patched_file(const uint8_t *image, uint32_t length, const char *pattern)
{
    path_buffer[0] = '\0';
    choose_file(given.output, "Save patched file", 1, pattern, path_buffer, path_capacity);
    if (path_buffer[0] == '\0')
        return 0;
    // A name from the command line has had no dialog to ask about an existing file.
    if (given.output && !given.force && file_exists(path_buffer) && !ask_to_replace(path_buffer))
        return 0;
    if (save_whole_file(path_buffer, image, length))
        return 1;
    show_message("Error writing file", "Error");
    return 0;
}
