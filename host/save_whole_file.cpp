// save_whole_file.cpp -- saves an image under a name without risking the file it replaces
//
// The image goes to a new temporary file beside the chosen one, which is flushed to the disk with
// every error checked, named, and only then renamed over the chosen name; the folder is synced
// last, so that the replacement itself survives a power cut. A save that fails at any point before
// the rename removes the temporary file and leaves the chosen name as it was (or absent), so a
// failed save can never ruin an existing file, such as the user's original.
#include "host/files/file_streams.h"
#include "host/files/file_system.h"
#include "host/host_services.h"

#include <cerrno>
#include <cstring>

namespace {

char save_target[resolved_path_capacity];

// Writes the image to a temporary file and puts it in place of target. Returns 1 when done; on
// failure errno tells the first step that failed.
int32_t write_whole_file(const char *target, const uint8_t *image, uint32_t length)
{
    FILE *stream = stream_create_temp(target);
    if (!stream)
        return 0; // nothing was created, so there is nothing to remove
    std::setvbuf(stream, nullptr, _IONBF, 0); // the whole image goes to the file in one write
    int32_t complete = stream_write(image, length, stream) == length && stream_flush(stream) &&
                       stream_name_temp(stream);
    int reason = errno;
    int32_t closed = stream_close(stream);
    if (complete && closed && file_replace(target))
        return file_sync_folder(target);
    if (!complete)
        errno = reason; // the first failure tells why, not a close that failed after it
    file_remove_temp();
    return 0;
}

} // namespace

int32_t save_whole_file(const char *name, const uint8_t *image, uint32_t length)
{
    errno = ENAMETOOLONG; // unless a later step fails for a reason of its own
    if (resolve_save_target(name, save_target, sizeof save_target) &&
        write_whole_file(save_target, image, length))
        return 1;
    report_file_error("write", name);
    return 0;
}
