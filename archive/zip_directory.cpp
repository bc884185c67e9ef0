// zip_directory.cpp -- lists a zip archive from its central directory, Zip64 records included
//
// A zip ends with the end-of-central-directory record: 22 bytes and a comment of up to 65535, so
// it lies in the last 65557 bytes and is sought backwards. It gives the central directory's entry
// count, size and offset; where those overflow their 16 and 32 bits, a Zip64 locator just in front
// of it points to a Zip64 end record with 64-bit ones. The central directory holds one record per
// entry: method, flags, CRC-32, both sizes and the offset of the entry's local header (again with
// a Zip64 extra field for values that do not fit). The data starts behind the local header, whose
// own name and extra lengths may differ from the central record's, so they are read there. Sizes
// and CRC-32 are taken from the central record: an entry written as a stream has zeros in its local
// header and the true values in a descriptor behind its data, which the central record repeats.
// Every offset is checked against the buffer before anything is read there.
#include "archive/archive_formats.h"
#include "archive/entry_names.h"
#include "archive/little_endian.h"
#include "identify/checksums.h"

#include <initializer_list>

namespace {

const uint32_t local_signature = 0x04034B50;         // "PK\3\4": a local header
const uint32_t central_signature = 0x02014B50;       // "PK\1\2": a central directory record
const uint32_t end_signature = 0x06054B50;           // "PK\5\6": the end of central directory record
const uint32_t zip64_locator_signature = 0x07064B50; // "PK\6\7": the Zip64 locator
const uint32_t zip64_end_signature = 0x06064B50;     // "PK\6\6": the Zip64 end record
const uint32_t end_length = 22;                      // the end record before its comment
const uint32_t comment_limit = 0xFFFF;               // the comment's length is 16 bits
const uint32_t zip64_locator_length = 20;            // right in front of the end record
const uint32_t zip64_end_length = 56;                // the Zip64 end record before its extensions
const uint32_t central_length = 46;                  // a central record before its name
const uint32_t local_length = 30;                    // a local header before its name
const uint32_t zip64_extra_id = 0x0001;              // extra field: 64-bit sizes, offset and disk
const uint32_t unicode_path_id = 0x7075;             // Info-ZIP's extra field: the name in UTF-8
const uint32_t unicode_path_version = 1;             // its only version: 1, CRC-32 of the name, name
const uint16_t utf8_flag = 0x0800;                   // bit 11: the name is UTF-8
const uint32_t escape16 = 0xFFFF;                    // a 16-bit value that is in the Zip64 record
const uint32_t escape32 = 0xFFFFFFFF;                // a 32-bit value that is in the Zip64 field

struct directory {
    uint64_t count; // central records
    uint64_t at;    // offset of the first
    uint64_t size;  // bytes of all of them
    uint64_t limit; // where the record behind the directory starts
};

// Finds the end record, the last signature whose comment fits in the buffer, then the Zip64 end
// record when a locator stands in front of it.
archive_result find_directory(const uint8_t *zip, uint32_t length, directory *found)
{
    if (length < end_length)
        return archive_result::damaged;
    const uint32_t lowest = length - end_length > comment_limit ? length - end_length - comment_limit : 0;
    uint32_t end = length - end_length;
    while (read_le32(zip + end) != end_signature || end + end_length + read_le16(zip + end + 20) > length)
        if (end-- == lowest)
            return archive_result::damaged;
    if (read_le16(zip + end + 4) != 0 || read_le16(zip + end + 6) != 0 ||
        read_le16(zip + end + 8) != read_le16(zip + end + 10))
        return archive_result::spanned; // this disk's number, the directory's, their entry counts
    *found = {read_le16(zip + end + 10), read_le32(zip + end + 16), read_le32(zip + end + 12), end};
    if (end < zip64_locator_length || read_le32(zip + end - zip64_locator_length) != zip64_locator_signature)
        return archive_result::ok;
    const uint8_t *locator = zip + end - zip64_locator_length;
    const uint64_t record = read_le64(locator + 8);
    if (read_le32(locator + 4) != 0 || read_le32(locator + 16) != 1) // the record's disk; disks
        return archive_result::spanned;
    if (end - zip64_locator_length < zip64_end_length || record > end - zip64_locator_length - zip64_end_length ||
        read_le32(zip + record) != zip64_end_signature)
        return archive_result::damaged;
    const uint8_t *z = zip + record;
    if (read_le32(z + 16) != 0 || read_le32(z + 20) != 0 || read_le64(z + 24) != read_le64(z + 32))
        return archive_result::spanned;
    *found = {read_le64(z + 32), read_le64(z + 48), read_le64(z + 40), record};
    return archive_result::ok;
}

// Reads the extra fields of a central record: the Zip64 values its escaped fields stand for, in
// the order size, compressed size, offset, disk, and a UTF-8 name that belongs to this name.
int32_t read_extras(const uint8_t *extra, uint32_t length, const uint8_t *name, uint32_t name_length,
                    uint64_t *size, uint64_t *compressed, uint64_t *offset, uint32_t *disk,
                    const uint8_t **utf8_name, uint32_t *utf8_length)
{
    for (uint32_t at = 0; length - at >= 4;) {
        const uint32_t id = read_le16(extra + at), field = read_le16(extra + at + 2);
        const uint8_t *data = extra + at + 4;
        if (field > length - at - 4)
            return 0;
        at += 4 + field;
        if (id == zip64_extra_id) {
            uint32_t used = 0;
            for (uint64_t *value : {size, compressed, offset}) {
                if (*value != escape32)
                    continue;
                if (field - used < 8)
                    return 0;
                *value = read_le64(data + used);
                used += 8;
            }
            if (*disk == escape16) {
                if (field - used < 4)
                    return 0;
                *disk = read_le32(data + used);
            }
        } else if (id == unicode_path_id && field > 5 && data[0] == unicode_path_version &&
                   read_le32(data + 1) == crc32_buffer(name, name_length)) {
            *utf8_name = data + 5;
            *utf8_length = field - 5;
        }
    }
    return 1;
}

} // namespace

archive_result list_zip(const uint8_t *zip, uint32_t length, archive_listing *listing)
{
    directory dir;
    const archive_result found = find_directory(zip, length, &dir);
    if (found != archive_result::ok)
        return found;
    if (dir.at > dir.limit || dir.size > dir.limit - dir.at || dir.count > dir.size / central_length)
        return archive_result::damaged;
    const uint32_t start = uint32_t(dir.at), stop = uint32_t(dir.at + dir.size);
    uint32_t at = start;
    for (uint64_t i = 0; i < dir.count; i++) {
        const uint8_t *c = zip + at;
        if (stop - at < central_length || read_le32(c) != central_signature)
            return archive_result::damaged;
        const uint32_t name_length = read_le16(c + 28), extra_length = read_le16(c + 30);
        const uint32_t record_length = central_length + name_length + extra_length + read_le16(c + 32);
        if (record_length > stop - at)
            return archive_result::damaged;
        at += record_length;
        const uint8_t *name = c + central_length;
        if (name_is_ignored(name, name_length)) {
            listing->ignored++;
            continue;
        }
        uint64_t size = read_le32(c + 24), compressed = read_le32(c + 20), offset = read_le32(c + 42);
        uint32_t disk = read_le16(c + 34), utf8_length = 0;
        const uint8_t *utf8_name = nullptr;
        if (!read_extras(name + name_length, extra_length, name, name_length, &size, &compressed,
                         &offset, &disk, &utf8_name, &utf8_length))
            return archive_result::damaged;
        if (disk != 0)
            return archive_result::spanned;
        if (listing->count == archive_entry_limit)
            return archive_result::too_many_entries;
        // The local header and the data behind it lie in front of the central directory.
        if (offset > start || start - offset < local_length || read_le32(zip + offset) != local_signature)
            return archive_result::damaged;
        const uint64_t data_at = offset + local_length + read_le16(zip + offset + 26) + read_le16(zip + offset + 28);
        if (data_at > start || compressed > start - data_at)
            return archive_result::damaged;
        archive_entry *entry = &listing->entries[listing->count++];
        entry->size = size;
        entry->data_at = uint32_t(data_at);
        entry->compressed_size = uint32_t(compressed);
        entry->crc = read_le32(c + 16);
        entry->method = uint16_t(read_le16(c + 10));
        entry->flags = uint16_t(read_le16(c + 8));
        if (utf8_name)
            name_to_utf8(utf8_name, utf8_length, name_encoding::utf8, entry->name);
        else
            name_to_utf8(name, name_length,
                         entry->flags & utf8_flag ? name_encoding::utf8 : name_encoding::cp437_unless_utf8,
                         entry->name);
    }
    return archive_result::ok;
}
