// archive_select.cpp -- chooses the image or the patch among an archive's entries, and names them all
#include "archive/archive_select.h"

#include <cstdio>
#include <cstring>

namespace {

const uint8_t patch_header[archive_head_length] = {'P', 'A', 'T', 'C', 'H'}; // an IPS patch's start
const char unnamed[] = "(no name)";       // a gzip file may keep no name of what it holds
const uint32_t more_line_room = 24;       // "and 4294967295 more" and its NUL, with room to spare

int32_t is_patch(const archive_head *head)
{
    return head->length == archive_head_length &&
           std::memcmp(head->bytes, patch_header, archive_head_length) == 0;
}

} // namespace

archive_choice archive_select(const archive_listing *listing, const archive_head *heads, archive_want want)
{
    archive_choice choice = {archive_result::no_candidate, 0};
    for (uint32_t i = 0; i < listing->count; i++) {
        const archive_entry *entry = &listing->entries[i];
        const archive_result readable = archive_entry_readable(entry);
        const int32_t large = entry->size >= archive_image_minimum;
        if (readable != archive_result::ok) {
            if (want == archive_want::patch || large)
                return {readable, i};
        } else if (want == archive_want::patch ? is_patch(&heads[i]) : large && !is_patch(&heads[i])) {
            if (choice.result == archive_result::ok)
                choice.result = archive_result::several_candidates; // an unreadable one still wins
            else if (choice.result == archive_result::no_candidate)
                choice = {archive_result::ok, i};
        }
    }
    return choice;
}

uint32_t archive_name_lines(const archive_listing *listing, char *text, uint32_t capacity)
{
    uint32_t used = 0, i = 0;
    if (capacity == 0)
        return 0;
    text[0] = 0;
    for (; i < listing->count; i++) {
        const char *name = listing->entries[i].name[0] ? listing->entries[i].name : unnamed;
        const uint32_t length = uint32_t(std::strlen(name));
        const uint32_t reserve = i + 1 < listing->count ? more_line_room : 0; // for the count line
        if (used + length + 1 + reserve >= capacity)
            break;
        std::memcpy(text + used, name, length);
        text[used + length] = '\n';
        used += length + 1;
    }
    if (i < listing->count && capacity - used >= more_line_room)
        used += uint32_t(std::snprintf(text + used, capacity - used, "and %u more\n", listing->count - i));
    text[used] = 0;
    return used;
}
