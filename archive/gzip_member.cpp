// gzip_member.cpp -- lists a gzip file as its one entry: the deflate data between header and trailer
//
// RFC 1952: 1F 8B, method 8 (deflate), a flag byte, a 4-byte time, extra flags and the system;
// then, as the flags say, an extra field (2-byte length and bytes), the original name and a comment
// (each ending in a zero byte) and a 16-bit CRC of the header. The file ends with the CRC-32 of the
// uncompressed data and its length modulo 2^32. Only one member is read: the data is taken to run
// up to the last eight bytes, so a file of several members fails its CRC-32 and counts as damaged.
#include "archive/archive_formats.h"
#include "archive/entry_names.h"
#include "archive/little_endian.h"
#include "identify/checksums.h"

#include <cstring>

namespace {

const uint32_t header_length = 10; // signature, method, flags, time, extra flags, system
const uint32_t trailer_length = 8; // CRC-32 and length of the uncompressed data
const uint8_t flag_header_crc = 0x02; // FHCRC: a 16-bit CRC of the header ends it
const uint8_t flag_extra = 0x04;      // FEXTRA: an extra field follows the fixed part
const uint8_t flag_name = 0x08;       // FNAME: the original file name, zero-terminated
const uint8_t flag_comment = 0x10;    // FCOMMENT: a comment, zero-terminated
const uint8_t flags_reserved = 0xE0;  // must be zero

// Steps over a zero-terminated field at *at, ending before limit; 0 when it has no end there.
int32_t skip_text(const uint8_t *gz, uint32_t limit, uint32_t *at)
{
    const void *zero = *at < limit ? std::memchr(gz + *at, 0, limit - *at) : nullptr;
    if (!zero)
        return 0;
    *at = uint32_t(static_cast<const uint8_t *>(zero) - gz) + 1;
    return 1;
}

} // namespace

archive_result list_gzip(const uint8_t *gz, uint32_t length, archive_listing *listing)
{
    if (length < header_length + trailer_length)
        return archive_result::damaged;
    const uint8_t flags = gz[3];
    const uint32_t limit = length - trailer_length; // the header ends before the trailer
    uint32_t at = header_length, name_at = 0, name_end = 0;
    if (flags & flags_reserved)
        return archive_result::damaged;
    if (flags & flag_extra) {
        if (limit - at < 2 || read_le16(gz + at) > limit - at - 2)
            return archive_result::damaged;
        at += 2 + read_le16(gz + at);
    }
    if (flags & flag_name) {
        name_at = at;
        if (!skip_text(gz, limit, &at))
            return archive_result::damaged;
        name_end = at - 1;
    }
    if ((flags & flag_comment) && !skip_text(gz, limit, &at))
        return archive_result::damaged;
    if (flags & flag_header_crc) {
        if (limit - at < 2 || read_le16(gz + at) != (crc32_buffer(gz, at) & 0xFFFF))
            return archive_result::damaged;
        at += 2;
    }
    archive_entry *entry = &listing->entries[0];
    entry->size = read_le32(gz + limit + 4);
    entry->data_at = at;
    entry->compressed_size = limit - at;
    entry->crc = read_le32(gz + limit);
    entry->method = archive_method_deflated;
    entry->flags = 0;
    name_to_utf8(gz + name_at, name_end - name_at, name_encoding::latin1_unless_utf8, entry->name);
    listing->count = 1;
    return archive_result::ok;
}
