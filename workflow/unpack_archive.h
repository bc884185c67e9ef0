// unpack_archive.h -- the image or the patch taken out of a zip or gzip file held in memory
#ifndef PATCHER_UNPACK_ARCHIVE_H
#define PATCHER_UNPACK_ARCHIVE_H

#include "archive/archive_select.h"

#include <cstdint>

// Room for the box that refuses an archive: its words and the names of what it holds.
constexpr uint32_t archive_message_size = 1024;

enum class unpack_result : uint8_t {
    plain,        // no archive: the file's own bytes are the file
    unpacked,     // the entry asked for is in out
    choose_again, // no single entry fits, or the one that would cannot be read: message says which
    damaged,      // the archive or its entry is broken: message says so, and nothing is to be written
};

struct unpack_outcome {
    unpack_result result;
    uint32_t length; // bytes in out when unpacked
    int32_t cut;     // 1: the entry held more than capacity bytes, and length is the capacity
};

// 1 when file (length bytes) starts as a zip or gzip file does.
int32_t looks_like_archive(const uint8_t *file, uint32_t length);

// 1 when the file is an archive that would be taken as a patch: it holds a patch candidate and no
// image one.
int32_t archive_holds_patch(const uint8_t *file, uint32_t length);

// Takes the entry wanted out of the archive file (length bytes) into out, which has room for
// capacity + 1 bytes and must not overlap file. When the result is choose_again or damaged, message
// (archive_message_size bytes) holds the text of the box that says why.
unpack_outcome unpack_archive(const uint8_t *file, uint32_t length, archive_want want, uint8_t *out,
                              uint32_t capacity, char *message);

#endif
