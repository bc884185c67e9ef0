// file_streams.h -- the standard C stream calls that the host services make, in one place
//
// Every open, read, write, flush, close, removal and replacement of the host services goes
// through here, so that tests can make any one of them fail.
#ifndef PATCHER_FILE_STREAMS_H
#define PATCHER_FILE_STREAMS_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

FILE *stream_open(const char *path, const char *mode);
// Opens a new, empty file for writing; null when the name is taken (errno EEXIST) or on failure.
FILE *stream_create(const char *path);
size_t stream_read(void *buffer, size_t length, FILE *stream);
size_t stream_write(const void *buffer, size_t length, FILE *stream);
int32_t stream_flush(FILE *stream); // 1 when every buffered byte reached the file (and the disk)
int32_t stream_close(FILE *stream); // 1 when the close succeeded
int32_t file_remove(const char *path);
int32_t file_replace(const char *temp, const char *target);

#endif
