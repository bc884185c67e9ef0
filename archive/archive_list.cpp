// archive_list.cpp -- tells a zip from a gzip, and judges each entry's method and whole content
#include "archive/archive_formats.h"

namespace {

const uint8_t zip_local[4] = {'P', 'K', 3, 4}; // a zip starts with its first entry's local header
const uint8_t zip_empty[4] = {'P', 'K', 5, 6}; // or, holding nothing, with its end record
const uint8_t gzip_magic[3] = {0x1F, 0x8B, 8}; // gzip's signature and its one method, deflate
const uint16_t flag_encrypted = 0x0001;        // bit 0: traditional PKWARE encryption
const uint16_t flag_strong_encryption = 0x0040; // bit 6: PKWARE's strong encryption
const uint16_t method_aes = 99;                 // WinZip's AES: the real method sits in an extra field

struct method_label {
    uint16_t method;
    const char *name;
};

// The methods of PKWARE's APPNOTE (4.4.5) that archives met in practice use, beyond stored and
// deflated; Reduce is four methods, one per compression factor.
const method_label method_names[] = {
    {1, "Shrink"},  {2, "Reduce"},  {3, "Reduce"},    {4, "Reduce"},     {5, "Reduce"},
    {6, "Implode"}, {9, "Deflate64"}, {10, "PKWARE DCL Implode"}, {12, "bzip2"}, {14, "LZMA"},
    {20, "Zstandard"}, {93, "Zstandard"}, {95, "XZ"}, {96, "JPEG"}, {97, "WavPack"}, {98, "PPMd"},
    {method_aes, "AES encryption"},
};

int32_t starts_with(const uint8_t *buffer, uint32_t length, const uint8_t *magic, uint32_t size)
{
    for (uint32_t i = 0; i < size; i++)
        if (i >= length || buffer[i] != magic[i])
            return 0;
    return 1;
}

} // namespace

archive_result archive_list(const uint8_t *archive, uint32_t length, archive_listing *listing)
{
    listing->count = 0;
    listing->ignored = 0;
    archive_result result = archive_result::not_an_archive;
    if (starts_with(archive, length, zip_local, 4) || starts_with(archive, length, zip_empty, 4)) {
        listing->kind = archive_kind::zip;
        result = list_zip(archive, length, listing);
    } else if (starts_with(archive, length, gzip_magic, 3)) {
        listing->kind = archive_kind::gzip;
        result = list_gzip(archive, length, listing);
    }
    if (result != archive_result::ok)
        listing->count = 0;
    return result;
}

archive_result archive_entry_readable(const archive_entry *entry)
{
    if ((entry->flags & (flag_encrypted | flag_strong_encryption)) || entry->method == method_aes)
        return archive_result::encrypted;
    if (entry->method != archive_method_stored && entry->method != archive_method_deflated)
        return archive_result::unsupported_method;
    return archive_result::ok;
}

const char *archive_method_name(uint16_t method)
{
    for (const method_label &label : method_names)
        if (label.method == method)
            return label.name;
    return method == archive_method_stored     ? "stored"
           : method == archive_method_deflated ? "Deflate"
                                               : "an unknown method";
}

archive_result archive_entry_check(const archive_entry *entry, uint32_t length, uint32_t crc)
{
    return length == entry->size && crc == entry->crc ? archive_result::ok : archive_result::damaged;
}
