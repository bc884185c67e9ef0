// file_streams.cpp -- the standard C stream calls that the host services make, in one place
#include "workflow/file_streams.h"
#include "workflow/file_system.h"

FILE *stream_open(const char *path, const char *mode)
{
    return std::fopen(path, mode);
}

FILE *stream_create(const char *path)
{
    return create_new_file(path);
}

size_t stream_read(void *buffer, size_t length, FILE *stream)
{
    return std::fread(buffer, 1, length, stream);
}

size_t stream_write(const void *buffer, size_t length, FILE *stream)
{
    return std::fwrite(buffer, 1, length, stream);
}

int32_t stream_flush(FILE *stream)
{
    return std::fflush(stream) == 0 && sync_stream(stream);
}

int32_t stream_close(FILE *stream)
{
    return std::fclose(stream) == 0;
}

int32_t file_remove(const char *path)
{
    return std::remove(path) == 0;
}

int32_t file_replace(const char *temp, const char *target)
{
    return replace_file(temp, target);
}
