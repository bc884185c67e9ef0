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

// Writes the image to a temporary file and puts it in place of target. On failure errno tells the
// first step that failed.
save_result write_whole_file(const char *name, const char *target, const uint8_t *image,
                             uint32_t length, int32_t may_replace)
{
    FILE *stream = stream_create_temp(target);
    if (!stream)
        return save_result::failed; // nothing was created, so there is nothing to remove
    std::setvbuf(stream, nullptr, _IONBF, 0); // the whole image goes to the file in one write
    int32_t complete = stream_write(image, length, stream) == length && stream_flush(stream) &&
                       stream_name_temp(stream);
    int reason = errno;
    int32_t closed = stream_close(stream);
    if (complete && closed && file_replace(target, may_replace)) {
        // The new file is in place whatever follows: the user has it, and must not be told that
        // it was not written.
        if (!file_sync_folder(target)) {
            std::fprintf(stderr, "patcher: %s written, but its folder could not be synced: %s\n", name,
                         file_error_text());
            std::fflush(stderr);
        }
        return save_result::written;
    }
    const int32_t taken = complete && closed && errno == EEXIST;
    if (!complete)
        errno = reason; // the first failure tells why, not a close that failed after it
    file_remove_temp();
    return taken ? save_result::name_taken : save_result::failed;
}

} // namespace

save_result save_whole_file(const char *name, const uint8_t *image, uint32_t length,
                            int32_t may_replace)
{
    errno = ENAMETOOLONG; // unless a later step fails for a reason of its own
    save_result result = save_result::failed;
    if (resolve_save_target(name, save_target, sizeof save_target))
        result = write_whole_file(name, save_target, image, length, may_replace);
    if (result == save_result::failed)
        report_file_error("write", name);
    return result;
}
