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
    // A name from the command line has had no dialog to ask about an existing file. A name that
    // was free is only ever created: should it be taken before the save ends, the user is asked.
    int32_t may_replace = file_exists(path_buffer);
    for (;;) {
        if (may_replace && given.output && !given.force && !ask_to_replace(path_buffer))
            return 0;
        switch (save_whole_file(path_buffer, image, length, may_replace)) {
        case save_result::written:
            return 1;
        case save_result::name_taken:
            may_replace = 1;
            if (!given.output && !ask_to_replace(path_buffer))
                return 0;
            break;
        case save_result::failed:
            show_message("Error writing file", "Error");
            return 0;
        }
    }
}
