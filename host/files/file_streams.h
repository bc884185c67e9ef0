// file_streams.h -- the file calls that the host services make, in one place
//
// Every open, seek, read, write, flush, close, naming, replacement and folder sync of the host services
// goes through here. The calls on standard C streams are in file_streams.cpp; naming, replacing and
// syncing differ per system and are in the file system's own file (file_system_posix.cpp,
// file_system_win32.cpp). Each has its fault points (fault_points.h), which test builds can fire.
#ifndef PATCHER_FILE_STREAMS_H
#define PATCHER_FILE_STREAMS_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

FILE *stream_open(const char *path, const char *mode);
// The save's temporary file for target (see create_temp_file); null on failure.
FILE *stream_create_temp(const char *target);
int32_t stream_seek_end(FILE *stream); // 1 when the stream is at its end; a pipe has none
size_t stream_read(void *buffer, size_t length, FILE *stream);
size_t stream_write(const void *buffer, size_t length, FILE *stream);
int32_t stream_flush(FILE *stream); // 1 when every buffered byte reached the file (and the disk)
int32_t stream_close(FILE *stream); // 1 when the close succeeded

// Gives the complete temporary file a name beside its target, so that file_replace can put it
// there; nothing to do for one created with a name. Returns 0 on failure.
int32_t stream_name_temp(FILE *stream);

// Puts the named temporary file in place of target in one step: over an existing target when
// may_replace is 1, else only where nothing has the name, which fails with errno EEXIST when
// something does (it appeared since the name was chosen). Returns 0 on failure, with target as it
// was.
int32_t file_replace(const char *target, int32_t may_replace);

// Removes the temporary file's name, if it still has one (a failed save; after file_replace, none),
// leaving errno as it was.
void file_remove_temp();

// Makes the replacement itself durable: on POSIX systems the folder's entry is synced to the disk.
// Returns 0 on failure.
int32_t file_sync_folder(const char *target);

#endif
