// file_system.h -- what saving and sizing need of the file system beyond standard C streams
//
// Implemented once per platform (file_system_posix.cpp, file_system_win32.cpp), chosen in CMake.
#ifndef PATCHER_FILE_SYSTEM_H
#define PATCHER_FILE_SYSTEM_H

#include <cstdint>
#include <cstdio>

constexpr uint32_t resolved_path_capacity = 4096; // a full path after symbolic links are followed

// Where the system can back large buffers with huge pages, the image buffer is aligned for them,
// so that filling 16 MiB takes a handful of page faults instead of thousands.
#ifdef __linux__
constexpr uint32_t large_buffer_alignment = 1u << 21;
#else
constexpr uint32_t large_buffer_alignment = 64;
#endif

// Asks the system to back a large buffer that has not been touched yet with huge pages. Only
// advice: a system that cannot does nothing, and the buffer works the same either way.
void advise_large_buffer(uint8_t *buffer, uint32_t length);

// Writes into target the file that saving under chosen must replace: chosen itself, or the file a
// symbolic link at chosen leads to. Returns 0 when the name does not fit.
int32_t resolve_save_target(const char *chosen, char *target, uint32_t capacity);

// Length of the folder part of path, up to and including its last folder separator; 0 when path
// names a file in the current folder.
uint32_t folder_part_length(const char *path);

// Creates path as a new, empty file and opens it for writing in byte mode. Returns null, with errno
// EEXIST, when anything of that name exists already, a symbolic link (even one that leads nowhere)
// included: a file that someone else put there is never written through.
FILE *create_new_file(const char *path);

// Pushes a flushed stream's bytes to the disk. Returns 0 on failure.
int32_t sync_stream(FILE *stream);

// The position of an open stream, 64 bits wide on every system (ftell's long has 32 bits on
// Windows, where it reports a file of 4 GiB and 16 bytes as 16 bytes long). -1 on failure.
int64_t stream_position(FILE *stream);

// Puts the complete file temp in place of target in one step, keeping target's permissions when it
// exists. Returns 0 on failure, with target as it was; a target that exists but is no plain file
// (a folder, a pipe, a device) is a failure.
int32_t replace_file(const char *temp, const char *target);

#endif
