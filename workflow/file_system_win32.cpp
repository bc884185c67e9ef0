// file_system_win32.cpp -- durable flushes and replacing a file in one step on Windows
#include "workflow/file_system.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

// The attributes a replaced file hands on to its successor. Read-only is not among them: a
// read-only file refuses to be replaced, and a read-only temporary file could not be removed.
const DWORD kept_attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

int32_t resolve_save_target(const char *chosen, char *target, uint32_t capacity)
{
    // The save dialog has already followed shortcuts; whatever name it returns is replaced itself.
    size_t length = std::strlen(chosen);
    if (length >= capacity)
        return 0;
    std::memcpy(target, chosen, length + 1);
    return 1;
}

void advise_large_buffer(uint8_t *, uint32_t)
{
    // Large pages on Windows need a privilege that users do not hold; ordinary pages it is.
}

uint32_t folder_part_length(const char *path)
{
    // Either slash separates folders here, and a drive's colon ends a folder part too ("C:name").
    uint32_t length = 0;
    for (uint32_t i = 0; path[i] != '\0'; i++)
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            length = i + 1;
    return length;
}

FILE *create_new_file(const char *path)
{
    // _O_EXCL fails on any existing name, a folder's included.
    int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                   _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    FILE *stream = _fdopen(fd, "wb");
    if (!stream) {
        int saved = errno;
        _close(fd);
        _unlink(path);
        errno = saved;
    }
    return stream;
}

int32_t sync_stream(FILE *stream)
{
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // Devices such as NUL and pipes hold nothing to flush, and refuse to.
    if (GetFileType(file) != FILE_TYPE_DISK)
        return 1;
    return FlushFileBuffers(file) != 0;
}

int64_t stream_position(FILE *stream)
{
    return _ftelli64(stream);
}

int32_t replace_file(const char *temp, const char *target)
{
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Windows refuses to replace a read-only file; say so here too, where the file system
        // underneath might let the move through.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            return 0;
        SetFileAttributesA(temp, attributes & kept_attributes);
    }
    // C's rename refuses an existing target here; MoveFileEx replaces it in one step, and
    // returns only once the move has reached the disk.
    return MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
