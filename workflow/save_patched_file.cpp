// save_patched_file.cpp -- asks for the output name and saves the image without risking the old file
//
// The image goes to a new temporary file beside the chosen one, which is flushed and closed with
// every error checked, and only then renamed over the chosen name. A save that fails at any point
// removes the temporary file and leaves the chosen name as it was (or absent), so a failed save can
// never ruin an existing file, such as the user's original.
#include "workflow/file_streams.h"
#include "workflow/file_system.h"
#include "workflow/host_services.h"
#include "workflow/patcher_storage.h"

namespace {

const char save_title[] = "Save patched file";
const uint32_t temp_suffix_room = 32;   // ".patcher-NN.tmp" and its NUL
const uint32_t temp_name_attempts = 100; // names tried before giving up on a crowded folder

char save_target[resolved_path_capacity];
char temp_name[resolved_path_capacity + temp_suffix_room];

// Picks a name beside target that no file has yet. Returns 0 when the folder has none to spare.
int32_t choose_temp_name(const char *target)
{
    for (uint32_t n = 0; n < temp_name_attempts; n++) {
        std::snprintf(temp_name, sizeof temp_name, "%s.patcher-%02u.tmp", target,
                      static_cast<unsigned>(n));
        FILE *existing = stream_open(temp_name, "rb");
        if (!existing)
            return 1;
        stream_close(existing);
    }
    return 0;
}

// Writes the image to a temporary file and puts it in place of target. Returns 1 when done.
int32_t write_whole_file(const char *target, const uint8_t *image, uint32_t length)
{
    if (!choose_temp_name(target))
        return 0;
    if (write_file(temp_name, image, length) == length && file_replace(temp_name, target))
        return 1;
    file_remove(temp_name); // also when the temporary file was never created: nothing to lose
    return 0;
}

} // namespace

int32_t save_patched_file(const uint8_t *image, uint32_t length, const char *pattern)
{
    path_buffer[0] = '\0';
    browse_for_file(save_title, 1, pattern, path_buffer, path_capacity);
    if (path_buffer[0] == '\0')
        return 0;
    if (resolve_save_target(path_buffer, save_target, sizeof save_target) &&
        write_whole_file(save_target, image, length))
        return 1;
    show_message("Error writing file", "Error");
    return 0;
}
