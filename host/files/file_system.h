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

// 1 when anything goes by the name path: a file, a folder, or a link, even one leading nowhere.
int32_t file_exists(const char *path);

// Opens path (UTF-8 on every system) as a standard C stream in mode.
FILE *open_file(const char *path, const char *mode);

// Creates the save's temporary file in target's folder, open for writing in byte mode: unnamed
// where the system can, else under a name nobody can predict. It has target's permission bits (and
// owner and group, where the program may set them) from the start; for a new target, those a plain
// create would give. Refused, with errno set, when target exists and is read-only or no plain file.
// Naming, replacing and removing it are the stream layer's (file_streams.h), implemented with it.
FILE *create_temp_file(const char *target);

// Pushes a flushed stream's bytes to the disk. Returns 0 on failure.
int32_t sync_stream(FILE *stream);

// Run once at start. Standard input, output and error that were closed are opened on the null
// device, so that no file opened later takes their place; a write past the process's file-size
// limit fails like any write instead of ending the program; and a signal that ends the program
// removes a named temporary file first.
void start_file_system();

// The system's own words for why the last file call failed (errno, or Windows' last error).
const char *file_error_text();

// The position of an open stream, 64 bits wide on every system (ftell's long has 32 bits on
// Windows, where it reports a file of 4 GiB and 16 bytes as 16 bytes long). -1 on failure.
int64_t stream_position(FILE *stream);

#endif
