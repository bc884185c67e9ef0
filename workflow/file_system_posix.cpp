// file_system_posix.cpp -- symbolic links, durable flushes and atomic replacement on POSIX systems
#include "workflow/file_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int link_hops = 40; // as many links as the kernel itself follows before giving up

int32_t copy_name(const char *name, char *out, uint32_t capacity)
{
    size_t length = std::strlen(name);
    if (length >= capacity)
        return 0;
    std::memcpy(out, name, length + 1);
    return 1;
}

// Follows a chain of links by hand, for a link whose final target does not exist yet (realpath
// refuses those); the save then creates that target.
int32_t follow_dangling_link(const char *chosen, char *target, uint32_t capacity)
{
    static char current[resolved_path_capacity];
    static char link_text[resolved_path_capacity];
    if (!copy_name(chosen, current, sizeof current))
        return 0;
    for (int hop = 0; hop < link_hops; hop++) {
        struct stat info;
        if (lstat(current, &info) != 0 || !S_ISLNK(info.st_mode))
            return copy_name(current, target, capacity);
        ssize_t length = readlink(current, link_text, sizeof link_text - 1);
        if (length < 0)
            return 0;
        link_text[length] = '\0';
        if (link_text[0] == '/') {
            if (!copy_name(link_text, current, sizeof current))
                return 0;
            continue;
        }
        // A relative link is read from the folder that holds the link.
        char *slash = std::strrchr(current, '/');
        size_t folder = slash ? static_cast<size_t>(slash - current) + 1 : 0;
        if (folder + static_cast<size_t>(length) >= sizeof current)
            return 0;
        std::memcpy(current + folder, link_text, static_cast<size_t>(length) + 1);
    }
    return 0;
}

} // namespace

int32_t resolve_save_target(const char *chosen, char *target, uint32_t capacity)
{
    struct stat info;
    if (lstat(chosen, &info) != 0 || !S_ISLNK(info.st_mode))
        return copy_name(chosen, target, capacity);
    static char resolved[PATH_MAX];
    if (realpath(chosen, resolved))
        return copy_name(resolved, target, capacity);
    return follow_dangling_link(chosen, target, capacity);
}

void advise_large_buffer(uint8_t *buffer, uint32_t length)
{
#ifdef MADV_HUGEPAGE
    madvise(buffer, length, MADV_HUGEPAGE); // refused advice changes nothing, so is not checked
#else
    (void)buffer;
    (void)length;
#endif
}

uint32_t folder_part_length(const char *path)
{
    const char *slash = std::strrchr(path, '/'); // the only separator: '\\' is part of a name here
    return slash ? static_cast<uint32_t>(slash - path) + 1 : 0;
}

FILE *create_new_file(const char *path)
{
    // O_EXCL fails on any existing name and never follows a link at the last component.
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    FILE *stream = fdopen(fd, "wb");
    if (!stream) {
        int saved = errno;
        close(fd);
        unlink(path);
        errno = saved;
    }
    return stream;
}

int32_t sync_stream(FILE *stream)
{
    // Pipes and special files cannot be synced, and need not be.
    return fsync(fileno(stream)) == 0 || errno == EINVAL || errno == EROFS;
}

int64_t stream_position(FILE *stream)
{
    return ftello(stream);
}

int32_t replace_file(const char *temp, const char *target)
{
    struct stat info;
    if (lstat(target, &info) == 0) {
        // Only a plain file is replaced: renaming over a pipe or a device would swap the node
        // itself for a file, and a folder cannot take a file's place at all.
        if (!S_ISREG(info.st_mode)) {
            errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
            return 0;
        }
        chmod(temp, info.st_mode & 07777); // the replaced file keeps its permissions
    }
    return rename(temp, target) == 0;
}
