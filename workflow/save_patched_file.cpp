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

#include <cerrno>
#include <cstring>

namespace {

const char save_title[] = "Save patched file";
const uint32_t temp_suffix_room = 32;   // ".patcher-NN.tmp" and its NUL
const uint32_t temp_name_attempts = 100; // names tried before giving up on a crowded folder
// Bytes of the chosen file's own name kept in the temporary name: with the suffix it stays within
// the 255 bytes that file systems allow for one name, however long the chosen name is.
const uint32_t temp_base_room = 200;

char save_target[resolved_path_capacity];
char temp_name[resolved_path_capacity + temp_suffix_room];

// Creates a new temporary file beside target, under the first free name. Returns null when none
// can be created. The creation is exclusive, so a file or link that turns up under the name
// between two saves -- or is put there on purpose -- is passed over, never written through.
FILE *create_temp_file(const char *target)
{
    uint32_t folder = folder_part_length(target);
    size_t base_length = std::strlen(target + folder);
    int kept = static_cast<int>(folder) +
               static_cast<int>(base_length < temp_base_room ? base_length : temp_base_room);
    for (uint32_t n = 0; n < temp_name_attempts; n++) {
        std::snprintf(temp_name, sizeof temp_name, "%.*s.patcher-%02u.tmp", kept, target,
                      static_cast<unsigned>(n));
        FILE *stream = stream_create(temp_name);
        if (stream)
            return stream;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

// Writes the image to a temporary file and puts it in place of target. Returns 1 when done.
int32_t write_whole_file(const char *target, const uint8_t *image, uint32_t length)
{
    FILE *stream = create_temp_file(target);
    if (!stream)
        return 0; // nothing was created, so there is nothing to remove
    if (write_and_close(stream, image, length) == length && file_replace(temp_name, target))
        return 1;
    file_remove(temp_name);
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
