// host_files.cpp -- whole-file reading up to a capacity, and whole-file writing
#include "workflow/file_streams.h"
#include "workflow/file_system.h"
#include "workflow/host_services.h"
#include "workflow/patcher_storage.h"

namespace {

const char too_large_text[] = "File size is too large and will be truncated";

} // namespace

int64_t file_size(FILE *stream)
{
    if (std::fseek(stream, 0, SEEK_END) != 0) {
        std::rewind(stream);
        return -1;
    }
    int64_t end = stream_position(stream);
    std::rewind(stream);
    return end;
}

uint32_t load_file(const char *path, uint8_t *buffer, uint32_t capacity)
{
    FILE *stream = stream_open(path, "rb");
    if (!stream)
        return 0;
    // Straight from the file into the buffer: no stdio buffer in between, no copy through it.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    advise_large_buffer(buffer, capacity);
    int64_t size = file_size(stream);
    uint32_t count = static_cast<uint32_t>(stream_read(buffer, capacity, stream));
    uint32_t expected = size > static_cast<int64_t>(capacity) ? capacity : static_cast<uint32_t>(size);
    if (size >= 0 && count < expected) {
        // The read broke off before the end the file had: what arrived is not the file, and a
        // run must not go on to patch and save a cut copy as if it were whole. A folder, which
        // opens as a stream here and may claim any size, ends the same way, without the warning.
        stream_close(stream);
        return 0;
    }
    int32_t cut = size > static_cast<int64_t>(capacity);
    if (size < 0 && count == capacity) {
        // The size could not be told; a byte beyond the capacity still means the file was cut.
        uint8_t probe;
        cut = stream_read(&probe, 1, stream) == 1;
    }
    stream_close(stream);
    // Warned once the bytes are in: the user sees the same box, and never for a file that could
    // not be read at all.
    if (cut)
        show_message(too_large_text, "Warning");
    return count;
}

uint32_t write_and_close(FILE *stream, const uint8_t *buffer, uint32_t length)
{
    std::setvbuf(stream, nullptr, _IONBF, 0); // the whole image goes to the file in one write
    uint32_t count = static_cast<uint32_t>(stream_write(buffer, length, stream));
    int32_t flushed = stream_flush(stream);
    int32_t closed = stream_close(stream);
    return flushed && closed ? count : 0;
}

uint32_t write_file(const char *path, const uint8_t *buffer, uint32_t length)
{
    FILE *stream = stream_open(path, "wb");
    if (!stream)
        return 0;
    return write_and_close(stream, buffer, length);
}

uint32_t load_named_patch(const char *name)
{
    return load_file(name, patch_buffer, patch_capacity);
}
