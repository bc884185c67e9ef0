// file_streams.h -- the standard C stream calls that the host services make, in one place
//
// Every open, seek, read, write, flush, close, naming, replacement and folder sync of the host services
// goes through here, so that tests can make any one of them fail.
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
int32_t stream_name_temp(FILE *stream); // 1 when the complete temporary file has its name
int32_t stream_close(FILE *stream); // 1 when the close succeeded
int32_t file_replace(const char *target); // 1 when the temporary file took target's place
void file_remove_temp();
int32_t file_sync_folder(const char *target); // 1 when the replacement reached the disk

#endif
