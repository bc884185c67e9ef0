// archive_listing.h -- what a zip archive or a gzip file held in memory contains, entry by entry
//
// The reader is pure: it reads a whole archive file from a buffer, bounds every offset against that
// buffer, and lists where each entry's data lies; decompression is the host's (host/inflate.h).
#ifndef PATCHER_ARCHIVE_LISTING_H
#define PATCHER_ARCHIVE_LISTING_H

#include <cstdint>

// One set of outcomes for listing, checking and choosing, so that a caller maps each to one message.
enum class archive_result : uint8_t {
    ok,
    not_an_archive,     // neither "PK\3\4" (or an empty zip's "PK\5\6") nor gzip's 1F 8B 08 in front
    damaged,            // a record or offset outside the file, a bad signature, a size or CRC-32 off
    encrypted,          // the entry needs a password (zip's flag bit 0, or AES as method 99)
    unsupported_method, // a method other than stored and deflated: archive_method_name says which
    too_many_entries,   // more than archive_entry_limit entries besides folders and metadata
    spanned,            // a zip split over several disks: only the last part was given
    no_candidate,       // nothing in the archive is the image (or the patch) asked for
    several_candidates, // more than one entry could be it
};

enum class archive_kind : uint8_t { zip, gzip };

// Listed entries at most. A patch distribution holds a handful of files; an archive with more than
// this besides folders and macOS metadata is refused whole (too_many_entries), since an entry never
// looked at could be the one wanted.
constexpr uint32_t archive_entry_limit = 256;
// Bytes of UTF-8 kept of each name, for display: a longer one is cut at a character's start.
constexpr uint32_t archive_name_limit = 255;

constexpr uint16_t archive_method_stored = 0;   // the data as it is
constexpr uint16_t archive_method_deflated = 8; // raw deflate, as zip and gzip both hold it

struct archive_entry {
    uint64_t size;            // the uncompressed size the archive declares (Zip64 allows 2^64)
    uint32_t data_at;         // offset of the entry's data in the archive, behind its local header
    uint32_t compressed_size; // bytes of data there, inside the buffer
    uint32_t crc;             // the CRC-32 the archive declares for the uncompressed data
    uint16_t method;          // zip's method number; a gzip member is deflated
    uint16_t flags;           // zip's general-purpose bits: 0 encrypted, 3 sizes behind, 11 UTF-8
    char name[archive_name_limit + 1]; // UTF-8, NUL-terminated; empty for a gzip without a name
};

struct archive_listing {
    archive_kind kind;
    uint32_t count;   // entries listed in entries[]
    uint32_t ignored; // folders and macOS metadata passed over
    archive_entry entries[archive_entry_limit];
};

// Lists the archive of length bytes into listing (count is 0 unless the result is ok). Folders and
// macOS metadata (__MACOSX/, "._" files, .DS_Store) are counted in ignored, not listed.
archive_result archive_list(const uint8_t *archive, uint32_t length, archive_listing *listing);

// ok when the entry's data can be decompressed here, else encrypted or unsupported_method.
archive_result archive_entry_readable(const archive_entry *entry);

// The method's common name ("Deflate64", "bzip2", "LZMA", ...), "an unknown method" for others.
const char *archive_method_name(uint16_t method);

// Judges a whole decompressed entry: ok when its length and CRC-32 are what the archive declares,
// else damaged.
archive_result archive_entry_check(const archive_entry *entry, uint32_t length, uint32_t crc);

#endif
