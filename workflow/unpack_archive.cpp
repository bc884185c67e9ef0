// unpack_archive.cpp -- finds the image or the patch in a zip or gzip file and inflates it, or says
// in plain words why it cannot
//
// Every entry's first five bytes are inflated to tell a patch ("PATCH") from the rest, then the one
// chosen is inflated whole and checked against the length and CRC-32 the archive declares.
#include "workflow/unpack_archive.h"

#include "host/inflate.h"

#include <cstdio>

namespace {

archive_listing listing;                   // the archive last listed; large, so not on the stack
archive_head heads[archive_entry_limit];   // the first bytes of each listed entry
const uint32_t names_size = 640;           // the names in a box: about a dozen lines, the rest counted
const char unpack_hint[] = "Please unpack it with an archive program and choose the unpacked file.";

// Lists the archive and reads the head of every entry that can be read; damaged when a head cannot.
archive_result list_with_heads(const uint8_t *file, uint32_t length)
{
    archive_result listed = archive_list(file, length, &listing);
    for (uint32_t i = 0; listed == archive_result::ok && i < listing.count; i++) {
        const archive_entry *entry = &listing.entries[i];
        heads[i].length = 0;
        if (archive_entry_readable(entry) != archive_result::ok)
            continue;
        // A capacity one short of the head: inflate_entry fills the byte past it too.
        inflate_outcome head = inflate_entry(file + entry->data_at, entry->compressed_size, entry->method,
                                             heads[i].bytes, archive_head_length - 1);
        if (head.result == inflate_result::damaged || head.result == inflate_result::unsupported_method)
            listed = archive_result::damaged;
        heads[i].length = static_cast<uint8_t>(head.length);
    }
    return listed;
}

const char *entry_name(uint32_t entry)
{
    return listing.entries[entry].name[0] ? listing.entries[entry].name : "The file";
}

// The box's text for an archive that gives nothing to take.
void explain(archive_result result, uint32_t entry, archive_want want, char *message)
{
    char names[names_size];
    if (!archive_name_lines(&listing, names, sizeof names))
        std::snprintf(names, sizeof names, "(nothing)\n");
    const char *thing = want == archive_want::image ? "game image" : "IPS patch";
    switch (result) {
    case archive_result::no_candidate:
        std::snprintf(message, archive_message_size,
                      "This archive holds no %s. It holds:\n\n%s\nPlease choose the %s itself, or an "
                      "archive with one %s in it.", thing, names, thing, thing);
        return;
    case archive_result::several_candidates:
        std::snprintf(message, archive_message_size,
                      "This archive holds more than one %s. It holds:\n\n%s\nPlease unpack the one you "
                      "want with an archive program and choose it.", thing, names);
        return;
    case archive_result::encrypted:
        std::snprintf(message, archive_message_size, "%s in this archive is protected by a password.\n\n%s",
                      entry_name(entry), unpack_hint);
        return;
    case archive_result::unsupported_method:
        std::snprintf(message, archive_message_size,
                      "%s in this archive is packed with %s, which this program cannot unpack.\n\n%s",
                      entry_name(entry), archive_method_name(listing.entries[entry].method), unpack_hint);
        return;
    case archive_result::too_many_entries:
        std::snprintf(message, archive_message_size, "This archive holds too many files to look through.\n\n%s",
                      unpack_hint);
        return;
    case archive_result::spanned:
        std::snprintf(message, archive_message_size,
                      "This archive is split into several parts, and this is only the last one.\n\n%s",
                      unpack_hint);
        return;
    default:
        std::snprintf(message, archive_message_size,
                      "This archive is damaged and cannot be unpacked.\n\nPlease download it again.");
        return;
    }
}

} // namespace

int32_t looks_like_archive(const uint8_t *file, uint32_t length)
{
    return archive_list(file, length, &listing) != archive_result::not_an_archive;
}

int32_t archive_holds_patch(const uint8_t *file, uint32_t length)
{
    if (list_with_heads(file, length) != archive_result::ok)
        return 0;
    return archive_select(&listing, heads, archive_want::patch).result != archive_result::no_candidate &&
           archive_select(&listing, heads, archive_want::image).result == archive_result::no_candidate;
}

unpack_outcome unpack_archive(const uint8_t *file, uint32_t length, archive_want want, uint8_t *out,
                              uint32_t capacity, char *message)
{
    archive_result listed = list_with_heads(file, length);
    if (listed == archive_result::not_an_archive)
        return {unpack_result::plain, 0, 0};
    archive_choice choice = {listed, 0};
    if (listed == archive_result::ok)
        choice = archive_select(&listing, heads, want);
    if (choice.result == archive_result::ok) {
        const archive_entry *entry = &listing.entries[choice.entry];
        inflate_outcome whole =
            inflate_entry(file + entry->data_at, entry->compressed_size, entry->method, out, capacity);
        if (whole.result == inflate_result::cut)
            return {unpack_result::unpacked, capacity, 1}; // its CRC-32 cannot be told from a part
        if (whole.result == inflate_result::ok &&
            archive_entry_check(entry, whole.length, whole.crc) == archive_result::ok)
            return {unpack_result::unpacked, whole.length, 0};
        choice.result = archive_result::damaged;
    }
    explain(choice.result, choice.entry, want, message);
    return {choice.result == archive_result::damaged ? unpack_result::damaged : unpack_result::choose_again, 0, 0};
}
