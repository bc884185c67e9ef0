// file_streams.cpp -- the standard C stream calls of the host services, each with its fault point
//
// A fault that is due fails the call the way the real call fails on a bad disk; release builds have
// no fault points, and these are the plain calls.
#include "host/files/file_streams.h"
#include "host/files/fault_points.h"
#include "host/files/file_system.h"

FILE *stream_open(const char *path, const char *mode)
{
    return fault_due(fault_kind::open) ? nullptr : open_file(path, mode);
}

FILE *stream_create_temp(const char *target)
{
    return fault_due(fault_kind::open) ? nullptr : create_temp_file(target);
}

int32_t stream_seek_end(FILE *stream)
{
    return fault_due(fault_kind::seek) ? 0 : std::fseek(stream, 0, SEEK_END) == 0;
}

size_t stream_read(void *buffer, size_t length, FILE *stream)
{
    size_t count = std::fread(buffer, 1, length, stream);
    return fault_due(fault_kind::read) ? count / 2 : count;
}

size_t stream_write(const void *buffer, size_t length, FILE *stream)
{
    if (fault_due(fault_kind::write))
        return 0;
    if (fault_due(fault_kind::short_write))
        return std::fwrite(buffer, 1, length / 2, stream);
    return std::fwrite(buffer, 1, length, stream);
}

int32_t stream_flush(FILE *stream)
{
    if (fault_due(fault_kind::flush))
        return 0;
    return std::fflush(stream) == 0 && sync_stream(stream);
}

int32_t stream_close(FILE *stream)
{
    int32_t closed = std::fclose(stream) == 0;
    return fault_due(fault_kind::close) ? 0 : closed;
}
