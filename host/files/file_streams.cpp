// file_streams.cpp -- the standard C stream calls that the host services make, in one place
#include "host/files/file_streams.h"
#include "host/files/file_system.h"

FILE *stream_open(const char *path, const char *mode)
{
    return open_file(path, mode);
}

FILE *stream_create_temp(const char *target)
{
    return create_temp_file(target);
}

int32_t stream_seek_end(FILE *stream)
{
    return std::fseek(stream, 0, SEEK_END) == 0;
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

int32_t stream_name_temp(FILE *stream)
{
    return name_temp_file(stream);
}

int32_t stream_close(FILE *stream)
{
    return std::fclose(stream) == 0;
}

int32_t file_replace(const char *target)
{
    return replace_file(target);
}

void file_remove_temp()
{
    remove_temp_file();
}

int32_t file_sync_folder(const char *target)
{
    return sync_folder(target);
}
