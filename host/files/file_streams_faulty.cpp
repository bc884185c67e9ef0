// file_streams_faulty.cpp -- the stream layer of test builds: file_streams.cpp plus fault countdowns
//
// Each call first asks whether the armed fault is due; if so it fails the way the real call fails
// on a bad disk, otherwise it does exactly what the release layer does.
#include "host/files/file_streams.h"
#include "host/files/file_system.h"
#include "host/files/stream_faults.h"

#include <cerrno>

namespace {

stream_fault_kind armed_kind = fault_kind_count; // none armed
uint32_t countdown;
int32_t persists;
uint32_t hits;

int32_t fault_due(stream_fault_kind kind)
{
    if (kind != armed_kind || countdown == 0)
        return 0;
    if (--countdown > 0)
        return 0;
    if (persists)
        countdown = 1; // the next call of this kind is due again
    hits++;
    errno = EIO;
    return 1;
}

} // namespace

void fault_arm(stream_fault_kind kind, uint32_t n, int32_t persistent)
{
    armed_kind = kind;
    countdown = n;
    persists = persistent;
    hits = 0;
}

void fault_clear()
{
    armed_kind = fault_kind_count;
    countdown = 0;
}

uint32_t fault_hits()
{
    return hits;
}

FILE *stream_open(const char *path, const char *mode)
{
    return fault_due(fault_open) ? nullptr : open_file(path, mode);
}

FILE *stream_create_temp(const char *target)
{
    return fault_due(fault_open) ? nullptr : create_temp_file(target);
}

int32_t stream_seek_end(FILE *stream)
{
    return fault_due(fault_seek) ? 0 : std::fseek(stream, 0, SEEK_END) == 0;
}

size_t stream_read(void *buffer, size_t length, FILE *stream)
{
    size_t count = std::fread(buffer, 1, length, stream);
    return fault_due(fault_read) ? count / 2 : count;
}

size_t stream_write(const void *buffer, size_t length, FILE *stream)
{
    if (fault_due(fault_write))
        return 0;
    if (fault_due(fault_short_write))
        return std::fwrite(buffer, 1, length / 2, stream);
    return std::fwrite(buffer, 1, length, stream);
}

int32_t stream_flush(FILE *stream)
{
    if (fault_due(fault_flush))
        return 0;
    return std::fflush(stream) == 0 && sync_stream(stream);
}

int32_t stream_name_temp(FILE *stream)
{
    return fault_due(fault_name) ? 0 : name_temp_file(stream);
}

int32_t stream_close(FILE *stream)
{
    int32_t closed = std::fclose(stream) == 0;
    return fault_due(fault_close) ? 0 : closed;
}

int32_t file_replace(const char *target)
{
    return fault_due(fault_rename) ? 0 : replace_file(target);
}

void file_remove_temp()
{
    remove_temp_file();
}

int32_t file_sync_folder(const char *target)
{
    return fault_due(fault_sync_folder) ? 0 : sync_folder(target);
}
