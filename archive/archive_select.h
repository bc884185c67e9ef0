// archive_select.h -- which entry of an archive is the image, or the patch, that was asked for
#ifndef PATCHER_ARCHIVE_SELECT_H
#define PATCHER_ARCHIVE_SELECT_H

#include "archive/archive_listing.h"

constexpr uint32_t archive_image_minimum = 0x40000; // 256 KiB: the smallest image the patcher takes
constexpr uint32_t archive_head_length = 5;         // "PATCH", the start of every IPS patch

enum class archive_want : uint8_t { image, patch };

// The first bytes of one entry's content, which the caller decompresses (fewer for a shorter one).
struct archive_head {
    uint8_t bytes[archive_head_length];
    uint8_t length;
};

struct archive_choice {
    archive_result result; // ok, no_candidate, several_candidates, encrypted or unsupported_method
    uint32_t entry;        // the entry chosen, or for encrypted or unsupported_method the one that
                           // could have been it and cannot be read
};

// Picks from the listing, with heads[i] the start of entries[i] (not read for an entry that
// archive_entry_readable refuses). The patch is the one entry starting "PATCH"; the image is the
// one declared at least archive_image_minimum bytes long that does not. An unreadable entry that
// could be either (any size for a patch, a declared size that large for an image) makes the choice
// impossible, and its reason is the result.
archive_choice archive_select(const archive_listing *listing, const archive_head *heads, archive_want want);

// Writes the listed names into text (capacity bytes, NUL-terminated), one a line, for the message
// that refuses an archive; "(no name)" for a gzip without one. Names that do not fit are left out
// and counted on a last line, "and N more". Returns the length written.
uint32_t archive_name_lines(const archive_listing *listing, char *text, uint32_t capacity);

#endif
