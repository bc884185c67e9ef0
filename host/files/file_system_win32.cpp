// file_system_win32.cpp -- the save's temporary file, durable flushes and replacing a file in one
// step on Windows
//
// Every call takes its name through the wide-character API, converted from UTF-8, so that opening,
// creating, renaming and removing all agree on what a name is; a name too long for the old limit
// of 260 characters is made absolute behind the \\?\ prefix, which lifts it.
#define _CRT_RAND_S // rand_s, the system's own random numbers
#include "host/files/file_system.h"
#include "host/files/fault_points.h"
#include "host/files/file_streams.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

// The attributes a replaced file hands on to its successor. Read-only is not among them: a
// read-only file refuses to be replaced, and a read-only temporary file could not be removed.
const DWORD kept_attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
const size_t temp_base_room = 200; // bytes of the target's name kept in a temporary name
const DWORD wide_capacity = resolved_path_capacity + 64;

char save_target[resolved_path_capacity];
char temp_name[resolved_path_capacity + 32];
wchar_t wide_temp[wide_capacity];
int32_t temp_named;

// errno from Windows' last error, so that one text tells the reason on every system.
void set_errno_from_last_error()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        errno = EEXIST;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        errno = ENAMETOOLONG;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    default:
        errno = EIO;
    }
}

// name in the form the wide-character calls take, in out (wide_capacity characters). 0 when it
// does not convert or fit.
int32_t wide_name(const char *name, wchar_t *out)
{
    static wchar_t converted[wide_capacity];
    errno = ENAMETOOLONG;
    if (!MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, converted, wide_capacity))
        return 0;
    if (std::wcslen(converted) < MAX_PATH - 12) { // room for the 8.3 name Windows may add
        std::wcscpy(out, converted);
        return 1;
    }
    DWORD length = GetFullPathNameW(converted, wide_capacity - 8, out + 6, nullptr);
    if (length == 0 || length >= wide_capacity - 8)
        return 0;
    if (out[6] == L'\\' && out[7] == L'\\') { // \\server\share\... becomes \\?\UNC\server\share\...
        std::wmemcpy(out, L"\\\\?\\UNC", 7);
        return 1;
    }
    std::wmemmove(out + 4, out + 6, length + 1);
    std::wmemcpy(out, L"\\\\?\\", 4);
    return 1;
}

// A new temporary name beside save_target, in temp_name and wide_temp.
int32_t make_temp_name()
{
    unsigned int high, low;
    if (rand_s(&high) != 0 || rand_s(&low) != 0)
        return 0;
    size_t folder = folder_part_length(save_target), base = std::strlen(save_target + folder);
    int kept = static_cast<int>(folder + (base < temp_base_room ? base : temp_base_room));
    std::snprintf(temp_name, sizeof temp_name, "%.*s.patcher-%08x%08x.tmp", kept, save_target, high, low);
    return wide_name(temp_name, wide_temp);
}

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

int32_t file_exists(const char *path)
{
    static wchar_t wide_path[wide_capacity];
    return wide_name(path, wide_path) && GetFileAttributesW(wide_path) != INVALID_FILE_ATTRIBUTES;
}

FILE *open_file(const char *path, const char *mode)
{
    static wchar_t wide_path[wide_capacity];
    wchar_t wide_mode[8] = {};
    for (int i = 0; i < 7 && mode[i]; i++)
        wide_mode[i] = static_cast<wchar_t>(mode[i]);
    return wide_name(path, wide_path) ? _wfopen(wide_path, wide_mode) : nullptr;
}

FILE *create_temp_file(const char *target)
{
    static wchar_t wide_target[wide_capacity];
    if (std::strlen(target) >= sizeof save_target || !wide_name(target, wide_target)) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    std::strcpy(save_target, target);
    DWORD attributes = GetFileAttributesW(wide_target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        return nullptr;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES; // Windows refuses to replace it, and would refuse to write it in place
        return nullptr;
    }
    // The kept attributes from the start, so that a hidden file's successor is never shown.
    DWORD kept = attributes != INVALID_FILE_ATTRIBUTES ? attributes & kept_attributes : 0;
    HANDLE file = INVALID_HANDLE_VALUE;
    while (file == INVALID_HANDLE_VALUE) {
        if (!make_temp_name())
            return nullptr;
        file = CreateFileW(wide_temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            set_errno_from_last_error();
            return nullptr;
        }
    }
    temp_named = 1;
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), 0);
    FILE *stream = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!stream) {
        fd < 0 ? CloseHandle(file) : _close(fd);
        file_remove_temp();
        errno = EMFILE;
    }
    return stream;
}

int32_t stream_name_temp(FILE *)
{
    return 1; // it was created with its name
}

int32_t file_replace(const char *target, int32_t may_replace)
{
    static wchar_t wide_target[wide_capacity];
    if (!wide_name(target, wide_target))
        return 0;
    DWORD attributes = GetFileAttributesW(wide_target);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        errno = attributes & FILE_ATTRIBUTE_DIRECTORY ? EISDIR : EACCES;
        return 0;
    }
    if (fault_due(fault_kind::rename))
        return 0;
    // MoveFileEx replaces an existing target in one step (or, without MOVEFILE_REPLACE_EXISTING,
    // fails when the name is taken), and returns only once the move has reached the disk.
    const DWORD replacing = may_replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (!MoveFileExW(wide_temp, wide_target, replacing | MOVEFILE_WRITE_THROUGH)) {
        set_errno_from_last_error();
        return 0;
    }
    temp_named = 0;
    return 1;
}

void file_remove_temp()
{
    if (temp_named)
        DeleteFileW(wide_temp); // Windows' last error only: errno stays
    temp_named = 0;
}

int32_t file_sync_folder(const char *)
{
    return 1; // the write-through move is durable as it stands
}

void start_file_system()
{
    // A program without a console starts with no standard streams at all, and expects none.
}

const char *file_error_text()
{
    return std::strerror(errno);
}

int32_t sync_stream(FILE *stream)
{
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // Devices such as NUL and pipes hold nothing to flush, and refuse to.
    if (GetFileType(file) != FILE_TYPE_DISK)
        return 1;
    if (FlushFileBuffers(file))
        return 1;
    set_errno_from_last_error();
    return 0;
}

int64_t stream_position(FILE *stream)
{
    return _ftelli64(stream);
}
