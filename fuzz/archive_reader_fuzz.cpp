// archive_reader_fuzz.cpp -- the archive reader, the choice and inflation on any file: listed data
// lies inside the file, names are short text, a choice names a listed entry, and inflation writes
// at most one byte past its capacity, with the CRC-32 of exactly what it wrote
//
// Input: the file itself, as the program would load it; the fuzzer's own buffer is exactly that
// long, so AddressSanitizer sees any read past its end.
#include "archive/archive_select.h"
#include "harness.h"
#include "host/inflate.h"

#include <cstring>

const uint32_t capacity = 4096; // small, so that many deflated entries are cut and runs stay quick
const uint32_t inflated_limit = 16; // entries read in one run: more than any seed holds

static archive_listing listing;

// Inflates into the last room + 1 bytes of a heap block, so a byte more is an overflow; *out is
// where the bytes went.
static inflate_outcome inflate_checked(const uint8_t *data, const archive_entry &e, uint32_t room,
                                       const uint8_t **out)
{
    static uint8_t *const block = static_cast<uint8_t *>(std::malloc(capacity + 1));
    uint8_t *at = block + capacity - room;
    const inflate_outcome o = inflate_entry(data + e.data_at, e.compressed_size, e.method, at, room);
    check(o.length <= room + 1 && (o.result == inflate_result::cut) == (o.length == room + 1) &&
          o.crc == crc32_buffer(at, o.length) &&
          (e.method != archive_method_stored || o.result == inflate_result::cut ||
           (o.length == e.compressed_size && std::memcmp(at, data + e.data_at, o.length) == 0)));
    *out = at;
    return o;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const archive_result listed = archive_list(data, uint32_t(size), &listing);
    check(listed <= archive_result::spanned && listing.count <= archive_entry_limit &&
          (listed == archive_result::ok || listing.count == 0));
    archive_head heads[archive_entry_limit] = {};
    for (uint32_t i = 0; i < listing.count; i++) {
        const archive_entry &e = listing.entries[i];
        const size_t name_length = strnlen(e.name, sizeof e.name);
        check(e.data_at <= size && e.compressed_size <= size - e.data_at && name_length <= archive_name_limit);
        for (size_t c = 0; c < name_length; c++)
            check(uint8_t(e.name[c]) >= 0x20 && e.name[c] != 0x7F);
        const uint8_t *start = nullptr;
        if (i < inflated_limit && archive_entry_readable(&e) == archive_result::ok) {
            const inflate_outcome o = inflate_checked(data, e, archive_head_length, &start);
            heads[i].length = uint8_t(std::min<uint32_t>(o.length, archive_head_length));
            std::memcpy(heads[i].bytes, start, heads[i].length);
        }
    }
    for (archive_want want : {archive_want::image, archive_want::patch}) {
        const archive_choice choice = archive_select(&listing, heads, want);
        const int32_t named = choice.result == archive_result::ok || choice.result == archive_result::encrypted ||
                              choice.result == archive_result::unsupported_method;
        check(named ? choice.entry < listing.count : choice.result == archive_result::no_candidate ||
                                                         choice.result == archive_result::several_candidates);
        if (choice.result == archive_result::unsupported_method)
            check(*archive_method_name(listing.entries[choice.entry].method) != 0);
        if (choice.result != archive_result::ok || choice.entry >= inflated_limit)
            continue;
        const archive_entry &e = listing.entries[choice.entry];
        const uint8_t *out = nullptr;
        const inflate_outcome o = inflate_checked(data, e, capacity, &out);
        check(o.length < archive_head_length || std::memcmp(out, heads[choice.entry].bytes, archive_head_length) == 0);
        if (o.result == inflate_result::ok)
            check((archive_entry_check(&e, o.length, o.crc) == archive_result::ok) ==
                  (o.length == e.size && o.crc == e.crc));
    }
    char lines[300]; // room for one name, so that the rest are counted
    const uint32_t used = archive_name_lines(&listing, lines, uint32_t(size % sizeof lines));
    check(used == 0 || (used < size % sizeof lines && lines[used] == 0 && std::strlen(lines) == used));
    return 0;
}
