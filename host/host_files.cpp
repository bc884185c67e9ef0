// host_files.cpp -- whole-file reading up to a capacity, and whole-file writing
#include "host/files/file_streams.h"
#include "host/files/file_system.h"
#include "host/host_services.h"

#include <cerrno>

namespace {

const char too_large_text[] = "File size is too large and will be truncated";

// Size of the file behind an open stream, which is left at its start; -1 when it cannot be told.
// Wider than 32 bits so that a file of 2 GiB or more still counts as too large.
int64_t file_size(FILE *stream)
{
    if (!stream_seek_end(stream)) {
        std::rewind(stream);
        return -1;
    }
    int64_t end = stream_position(stream);
    std::rewind(stream);
    return end;
}

// Reads the file into buffer, at most capacity bytes, and sets *cut when it holds more. Returns
// the bytes read; 0, with the reason on standard error, when it cannot be read whole.
uint32_t load(const char *path, uint8_t *buffer, uint32_t capacity, int32_t missing_is_error,
              int32_t *cut)
{
    *cut = 0;
    FILE *stream = stream_open(path, "rb");
    if (!stream) {
        if (missing_is_error || errno != ENOENT)
            report_file_error("read", path);
        return 0;
    }
    // Straight from the file into the buffer: no stdio buffer in between, no copy through it.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    advise_large_buffer(buffer, capacity);
    int64_t size = file_size(stream);
    uint32_t count = static_cast<uint32_t>(stream_read(buffer, capacity, stream));
    uint32_t expected = size > static_cast<int64_t>(capacity) ? capacity : static_cast<uint32_t>(size);
    if (std::ferror(stream) || (size >= 0 && count < expected)) {
        // A read that failed (a folder fails here) or broke off before the end the file had:
        // what arrived is not the file, and a run must not go on to patch and save a cut copy
        // as if it were whole.
        if (!std::ferror(stream))
            errno = EIO; // the file ended early: it shrank while it was read
        report_file_error("read", path);
        stream_close(stream);
        return 0;
    }
    // Whatever the size said (a device says 0, a pipe cannot tell), a byte beyond the capacity
    // means the file was cut.
    uint8_t probe;
    *cut = count == capacity && stream_read(&probe, 1, stream) == 1;
    stream_close(stream);
    return count;
}

} // namespace

uint32_t read_file(const char *path, uint8_t *buffer, uint32_t capacity, int32_t *cut)
{
    return load(path, buffer, capacity, 1, cut);
}

void warn_file_cut()
{
    show_message(too_large_text, "Warning");
}

void report_file_error(const char *action, const char *name)
{
    std::fprintf(stderr, "patcher: cannot %s %s: %s\n", action, name, file_error_text());
    std::fflush(stderr);
}

// Warned once the bytes are in: the user sees the same box, and never for a file that could not
// be read at all.
uint32_t load_file_if_present(const char *path, uint8_t *buffer, uint32_t capacity)
{
    int32_t cut;
    uint32_t count = load(path, buffer, capacity, 0, &cut);
    if (cut)
        warn_file_cut();
    return count;
}
