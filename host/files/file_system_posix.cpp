// file_system_posix.cpp -- symbolic links, the save's temporary file, durable flushes and atomic
// replacement on POSIX systems
//
// The temporary file is created unnamed where the system can (Linux's O_TMPFILE): an interrupted
// save then leaves nothing behind. It gets a name only once it is complete, just before the rename
// over the target; elsewhere it has an unpredictable name from the start. Either way a signal that
// ends the program removes the name first.
#include "host/files/file_system.h"
#include "host/files/fault_points.h"
#include "host/files/file_streams.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int link_hops = 40; // as many links as the kernel itself follows before giving up
// Bytes of the target's own name kept in a temporary name: with the suffix it stays within the
// 255 bytes that file systems allow for one name, however long the target's name is.
const size_t temp_base_room = 200;

// The save's target and temporary file. temp_name is complete before temp_named is raised, so the
// signal handler only ever removes a whole name of ours.
char save_target[resolved_path_capacity];
char temp_name[resolved_path_capacity + 32];
volatile sig_atomic_t temp_named;

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
        if (folder + static_cast<size_t>(length) >= sizeof current) {
            errno = ENAMETOOLONG;
            return 0;
        }
        std::memcpy(current + folder, link_text, static_cast<size_t>(length) + 1);
    }
    return 0;
}

// A new temporary name beside save_target: its name, or the first 200 bytes of it, then
// ".patcher-" and 16 random hexadecimal digits.
int32_t make_temp_name()
{
    unsigned long long random;
    if (getentropy(&random, sizeof random) != 0)
        return 0;
    size_t folder = folder_part_length(save_target), base = std::strlen(save_target + folder);
    int kept = static_cast<int>(folder + (base < temp_base_room ? base : temp_base_room));
    std::snprintf(temp_name, sizeof temp_name, "%.*s.patcher-%016llx.tmp", kept, save_target, random);
    return 1;
}

// Creates the temporary file under a fresh name; names that are taken are passed over.
int create_named(mode_t mode)
{
    for (;;) {
        if (!make_temp_name())
            return -1;
        int fd = open(temp_name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            temp_named = fd >= 0;
            return fd;
        }
    }
}

// The folder that holds path, as a name open takes: "dir/." or "./".
const char *folder_of(const char *path)
{
    static char folder[resolved_path_capacity];
    size_t length = folder_part_length(path);
    std::memcpy(folder, path, length);
    std::strcpy(folder + length, length ? "." : "./");
    return folder;
}

// Creates the temporary file without a name in save_target's folder; -1 where that is not possible.
// Naming it later goes through /proc, so without /proc (a bare chroot) it is not tried.
int create_unnamed(mode_t mode)
{
#ifdef O_TMPFILE
    if (access("/proc/self/fd", X_OK) != 0)
        return -1;
    if (fault_due(fault_kind::temp_unnamed))
        return -1; // as a file system without unnamed files answers
    return open(folder_of(save_target), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#else
    (void)mode;
    return -1;
#endif
}

void remove_temp_and_end(int signal_number)
{
    file_remove_temp();
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
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

int32_t file_exists(const char *path)
{
    struct stat info;
    return lstat(path, &info) == 0;
}

FILE *open_file(const char *path, const char *mode)
{
    return std::fopen(path, mode);
}

FILE *create_temp_file(const char *target)
{
    if (std::strlen(target) >= sizeof save_target) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    std::strcpy(save_target, target);
    struct stat info;
    int exists = stat(target, &info) == 0;
    // Only a plain file is replaced: renaming over a pipe or a device would swap the node itself
    // for a file, and a folder cannot take a file's place at all. A read-only file is refused as
    // writing it in place would be, by anyone, even by a user whom the folder lets replace it.
    if (exists && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    if (exists && ((info.st_mode & 0222) == 0 || access(target, W_OK) != 0)) {
        errno = EACCES;
        return nullptr;
    }
    mode_t mode = exists ? info.st_mode & 07777 : 0666;
    int fd = create_unnamed(mode);
    if (fd < 0)
        fd = create_named(mode);
    if (fd < 0)
        return nullptr;
    if (exists) {
        // The owner and group go with the file where the program may give them (as root, or to
        // a group of the user's own); then the exact permissions, which the umask may have
        // narrowed and a change of owner may have cleared.
        if (fchown(fd, info.st_uid, info.st_gid) != 0 &&
            fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
            // not the program's to give away: the file stays the user's own, as a copy would be
        }
        fchmod(fd, mode);
    }
    FILE *stream = fdopen(fd, "wb");
    if (!stream) {
        int saved = errno;
        close(fd);
        errno = saved;
        file_remove_temp();
    }
    return stream;
}

int32_t stream_name_temp(FILE *stream)
{
    if (temp_named)
        return 1;
    static char descriptor[64];
    std::snprintf(descriptor, sizeof descriptor, "/proc/self/fd/%d", fileno(stream));
    for (;;) {
        if (!make_temp_name())
            return 0;
        temp_named = 1; // before the name exists, so that no signal can come between
        if (!fault_due(fault_kind::link) &&
            linkat(AT_FDCWD, descriptor, AT_FDCWD, temp_name, AT_SYMLINK_FOLLOW) == 0)
            return 1;
        temp_named = 0;
        if (errno != EEXIST)
            return 0;
    }
}

namespace {

// Renames temp_name to target unless something has that name. Where the file system cannot do
// that in one step, a second link and the removal of the first do the same.
int32_t rename_without_replacing(const char *target)
{
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, temp_name, AT_FDCWD, target, RENAME_NOREPLACE) == 0)
        return 1;
    if (errno != EINVAL && errno != ENOSYS)
        return 0;
#endif
#ifdef __EMSCRIPTEN__ // the page's file system has no links, and no other program shares it
    if (access(target, F_OK) == 0) {
        errno = EEXIST;
        return 0;
    }
    return rename(temp_name, target) == 0;
#else
    if (link(temp_name, target) != 0)
        return 0;
    unlink(temp_name);
    return 1;
#endif
}

} // namespace

int32_t file_replace(const char *target, int32_t may_replace)
{
    struct stat info;
    if (lstat(target, &info) == 0 && !S_ISREG(info.st_mode)) { // turned into something else since
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return 0;
    }
    if (fault_due(fault_kind::rename))
        return 0;
    if (!(may_replace ? rename(temp_name, target) == 0 : rename_without_replacing(target)))
        return 0;
    temp_named = 0;
    return 1;
}

void file_remove_temp()
{
    int reason = errno; // the failure that led here is what the user is told
    if (temp_named)
        unlink(temp_name);
    temp_named = 0;
    errno = reason;
}

int32_t file_sync_folder(const char *target)
{
    int fd = fault_due(fault_kind::folder_open)
                 ? -1
                 : open(folder_of(target), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    fault_note_sync(fd);
    // Some file systems cannot sync a folder, and need not: theirs is durable as it is.
    int32_t synced = (!fault_due(fault_kind::folder_sync) && fsync(fd) == 0) || errno == EINVAL ||
                     errno == EROFS;
    close(fd);
    return synced;
}

int32_t sync_stream(FILE *stream)
{
    fault_note_sync(fileno(stream));
    // Pipes and special files cannot be synced, and need not be.
    return fsync(fileno(stream)) == 0 || errno == EINVAL || errno == EROFS;
}

int64_t stream_position(FILE *stream)
{
    return ftello(stream);
}

void start_file_system()
{
    for (int fd = 0; fd <= 2; fd++)
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF && open("/dev/null", O_RDWR) < 0)
            break; // open takes the lowest free descriptor, which is this one
    std::signal(SIGXFSZ, SIG_IGN);
    // Every signal that can be caught and whose default action ends the program.
    static const int ending_signals[] = {
        SIGHUP, SIGINT,  SIGQUIT, SIGILL,  SIGTRAP,   SIGABRT, SIGBUS, SIGFPE, SIGUSR1, SIGSEGV,
        SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO, SIGSYS,
#ifdef __linux__
        SIGSTKFLT, SIGPWR,
#endif
    };
    for (int signal_number : ending_signals) {
        struct sigaction ending = {}, before;
        ending.sa_handler = remove_temp_and_end;
        sigemptyset(&ending.sa_mask);
        // A signal that the program was started to ignore (nohup's SIGHUP), or that another
        // handler already watches (a sanitizer's, for a crash), is left as it was.
        if (sigaction(signal_number, &ending, &before) == 0 && before.sa_handler != SIG_DFL)
            sigaction(signal_number, &before, nullptr);
    }
}

const char *file_error_text()
{
    return std::strerror(errno);
}
