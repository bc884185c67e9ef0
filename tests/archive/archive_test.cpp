// archive_test.cpp -- archives made by zip, 7-Zip, gzip and Python give back the files packed in
// them, or are refused for the right reason; damaged ones never give anything
#include "archive/archive_select.h"
#include "archive/entry_names.h"
#include "host/inflate.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

static const std::string made = ARCHIVE_FIXTURES "/"; // tests/archive/make_archives.py writes there
static const uint32_t capacity = 0x400000; // 4 MiB: more than every file packed
static archive_listing listing;           // 72 KiB, static as the program will keep it
using r = archive_result;
constexpr archive_want image = archive_want::image, patch = archive_want::patch;

struct opened {
    archive_result result;
    bytes content;
    std::string detail; // "cut", or the method of an unsupported entry
    std::string names;  // archive_name_lines
};

// What the program will do with a file given: list it, read the start of every entry it can, choose
// and decompress the one wanted, and check it whole.
static opened open_archive(const bytes &file, archive_want want, uint32_t room = capacity)
{
    opened o = {archive_list(file.data(), uint32_t(file.size()), &listing), {}, "", ""};
    char names[8192];
    archive_name_lines(&listing, names, sizeof names);
    o.names = names;
    archive_head heads[archive_entry_limit] = {};
    for (uint32_t i = 0; i < listing.count; i++) {
        const archive_entry &e = listing.entries[i];
        uint8_t start[archive_head_length + 1]; // room for the byte past the bound
        if (archive_entry_readable(&e) == r::ok)
            heads[i].length = uint8_t(std::min<uint32_t>(archive_head_length,
                inflate_entry(&file[e.data_at], e.compressed_size, e.method, start, archive_head_length).length));
        std::memcpy(heads[i].bytes, start, heads[i].length);
    }
    const archive_choice choice = o.result == r::ok ? archive_select(&listing, heads, want) : archive_choice{o.result, 0};
    if ((o.result = choice.result) != r::ok) {
        if (choice.result == r::unsupported_method)
            o.detail = archive_method_name(listing.entries[choice.entry].method);
        return o;
    }
    const archive_entry &e = listing.entries[choice.entry];
    o.content.resize(room + 1); // exactly what inflate_entry may write: ASan watches the end
    const inflate_outcome out = inflate_entry(&file[e.data_at], e.compressed_size, e.method, o.content.data(), room);
    o.content.resize(out.length);
    o.detail = out.result == inflate_result::cut ? "cut" : "";
    o.result = out.result == inflate_result::ok ? archive_entry_check(&e, out.length, out.crc)
               : out.result == inflate_result::cut ? r::ok : r::damaged;
    return o;
}

// One line per archive and question: what comes out (a file packed, or for a cut one its start),
// and the names shown, where make_archives.py wrote them.
TEST(archive, each_writer_gives_back_its_files_or_the_reason_it_cannot)
{
    const struct {
        const char *archive;
        archive_want want;
        archive_result result;
        const char *content; // the original file, "" for none
        const char *detail;
        uint32_t room;
    } rows[] = {
        {"infozip.zip", image, r::ok, "image.bin", "", capacity},
        {"infozip.zip", patch, r::ok, "patch.ips", "", capacity},
        {"infozip.zip", image, r::ok, "image.bin", "cut", archive_image_minimum},
        {"infozip_stored.zip", image, r::ok, "image.bin", "", capacity},
        {"infozip_stored.zip", image, r::ok, "image.bin", "cut", 1000},
        {"infozip_zip64.zip", image, r::ok, "image.bin", "", capacity},
        {"infozip_stream.zip", image, r::ok, "image.bin", "", capacity},
        {"7z_deflate.zip", image, r::ok, "image.bin", "", capacity},
        {"7z_deflate64.zip", image, r::unsupported_method, "", "Deflate64", capacity},
        {"7z_encrypted.zip", image, r::encrypted, "", "", capacity},
        {"7z_two_images.zip", image, r::several_candidates, "", "", capacity},
        {"named.gz", image, r::ok, "image.bin", "", capacity},
        {"unnamed.gz", patch, r::ok, "patch.ips", "", capacity},
        {"all_parts.gz", image, r::ok, "image.bin", "", capacity},
        {"py_zip64_all.zip", image, r::ok, "image.bin", "", capacity},
        {"py_names.zip", image, r::ok, "image.bin", "", capacity},
        {"macos.zip", image, r::ok, "image.bin", "", capacity},
        {"empty.zip", image, r::no_candidate, "", "", capacity},
        {"full.zip", patch, r::no_candidate, "", "", capacity},
        {"many.zip", patch, r::too_many_entries, "", "", capacity},
        {"image.bin", image, r::not_an_archive, "", "", capacity},
    };
    for (const auto &c : rows) {
        const opened o = open_archive(read_bytes(made + c.archive), c.want, c.room);
        EXPECT_EQ(o.result, c.result) << c.archive;
        EXPECT_EQ(o.detail, c.detail) << c.archive;
        bytes expected = *c.content ? read_bytes(made + c.content) : bytes();
        if (o.detail == "cut") // the start of the file, one byte more than room
            expected.resize(c.room + 1);
        EXPECT_TRUE(o.content == expected) << c.archive << " gave " << o.content.size() << " bytes";
        if (std::filesystem::exists(made + c.archive + ".names")) {
            const bytes names = read_bytes(made + c.archive + ".names");
            EXPECT_EQ(o.names, std::string(names.begin(), names.end())) << c.archive;
        }
    }
}

// Faults laid into Info-ZIP's archive, whose first entry is the image: numbers added to
// little-endian fields of the image's central record, of the end record, or of the image's data.
// Then cuts of a zip and a gzip, and what fuzzing found.
TEST(archive, damaged_archives_are_refused)
{
    const bytes good = read_bytes(made + "infozip.zip");
    const uint32_t central = uint32_t(std::search(good.begin(), good.end(), "PK\1\2", "PK\1\2" + 4) - good.begin());
    const uint32_t end = uint32_t(good.size() - 22); // the end record, without a comment
    ASSERT_EQ(open_archive(good, image).result, r::ok);
    const uint32_t data = listing.entries[0].data_at;
    const struct {
        const char *what;
        uint32_t at, add, width;
        archive_result result;
    } faults[] = {
        {"a data byte", data + 1000, 1, 1, r::damaged},
        {"the CRC-32", central + 16, 1, 4, r::damaged},
        {"the compressed size, one less", central + 20, 0xFFFFFFFF, 4, r::damaged},
        {"the compressed size, past the directory", central + 20, 0x100000, 4, r::damaged},
        {"the size, one more", central + 24, 1, 4, r::damaged},
        {"the size, one less", central + 24, 0xFFFFFFFF, 4, r::damaged},
        {"the entry's disk", central + 34, 1, 2, r::spanned},
        {"the local header's offset", central + 42, 1, 4, r::damaged},
        {"the end record's disk", end + 4, 1, 2, r::spanned},
        {"the directory's size", end + 12, 1, 4, r::damaged},
        {"the directory's offset", end + 16, 1, 4, r::damaged},
    };
    for (const auto &f : faults) {
        bytes b = good;
        uint32_t value = 0;
        for (uint32_t i = 0; i < f.width; i++)
            value |= uint32_t(b[f.at + i]) << 8 * i;
        for (uint32_t i = 0, sum = value + f.add; i < f.width; i++)
            b[f.at + i] = uint8_t(sum >> 8 * i);
        EXPECT_EQ(open_archive(b, image).result, f.result) << f.what;
    }
    for (const char *name : {"infozip.zip", "named.gz"}) {
        const bytes whole = read_bytes(made + name);
        for (size_t length = 4; length < whole.size(); length += 997) // 3 or fewer: no signature
            EXPECT_EQ(open_archive(bytes(whole.begin(), whole.begin() + length), image).result, r::damaged)
                << name << " cut at " << length;
    }
    // A Zip64 locator too near the start for its record to fit in front of it; deflate data broken
    // right behind the capacity, which is cut as it would be further on.
    bytes near = {'P', 'K', 3, 4, 'P', 'K', 6, 7, 0, 0, 0, 0, 0x80, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'P', 'K', 5, 6};
    near.resize(near.size() + 18);
    EXPECT_EQ(open_archive(near, image).result, r::damaged);
    const uint8_t broken[] = {0x73, 0xff, 0xff, 0xff, 0xff, 0xff, 0x10, 0x0a, 0xff, 0xff, 0xbe, 0x2e, 0x63, 0x4e, 3, 0};
    uint8_t out[6];
    EXPECT_EQ(inflate_entry(broken, sizeof broken, archive_method_deflated, out, 5).result, inflate_result::cut);
}

// Names as shown: ill-formed UTF-8 and control bytes as '?', a long name cut whole characters
// short (the code pages are traced whole through py_names.zip); and the entries passed over.
TEST(archive, names_are_shown_as_utf8_and_metadata_is_passed_over)
{
    std::string long_shown;
    for (int i = 0; i < 127; i++)
        long_shown += "é";
    const struct {
        std::string raw;
        name_encoding encoding;
        std::string shown;
    } names[] = {
        {"\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xE2\x82", name_encoding::utf8, "??|???|????|??"},
        {"a\x01" "b\x7F", name_encoding::utf8, "a?b?"},
        {std::string(300, '\x82'), name_encoding::cp437_unless_utf8, long_shown},
    };
    char shown[archive_name_limit + 1];
    for (const auto &n : names) {
        name_to_utf8(reinterpret_cast<const uint8_t *>(n.raw.data()), uint32_t(n.raw.size()), n.encoding, shown);
        EXPECT_EQ(shown, n.shown) << n.raw;
    }
    for (const char *passed_over : {"Game/", "Game\\", "__MACOSX/a.bin", "a/._image.bin", "._x", "d/.DS_Store", ""})
        EXPECT_EQ(name_is_ignored(reinterpret_cast<const uint8_t *>(passed_over), uint32_t(std::strlen(passed_over))), 1);
    for (const char *kept : {"image.bin", "__MACOSX", "a_.bin", "x.DS_Store", "._/image.bin"})
        EXPECT_EQ(name_is_ignored(reinterpret_cast<const uint8_t *>(kept), uint32_t(std::strlen(kept))), 0) << kept;
}

// The choice's edges: the image's least size, an unreadable entry that could be the one, and a list
// of names too long for its room.
TEST(archive, the_choice_has_exact_edges)
{
    const archive_head none = {}, patch_head = {{'P', 'A', 'T', 'C', 'H'}, 5};
    const struct {
        uint64_t size;
        uint16_t method, flags;
        archive_head head;
    } entries[] = {{archive_image_minimum - 1, 8, 0, none}, {archive_image_minimum, 0, 0, patch_head},
                   {archive_image_minimum, 8, 0, none}, {1000, 12, 0, none}, {archive_image_minimum, 8, 1, none}};
    archive_head heads[5];
    auto choose = [&](uint32_t count, archive_want want) {
        listing.count = count;
        for (uint32_t i = 0; i < count; i++) {
            listing.entries[i] = {entries[i].size, 0, 0, 0, entries[i].method, entries[i].flags, "x"};
            heads[i] = entries[i].head;
        }
        const archive_choice c = archive_select(&listing, heads, want);
        return std::make_pair(c.result, c.entry);
    };
    EXPECT_EQ(choose(2, image), std::make_pair(r::no_candidate, 0u)); // too short, and a patch
    EXPECT_EQ(choose(2, patch), std::make_pair(r::ok, 1u));
    EXPECT_EQ(choose(3, image), std::make_pair(r::ok, 2u));
    EXPECT_EQ(choose(4, image), std::make_pair(r::ok, 2u)); // bzip2, but too short for an image
    EXPECT_EQ(choose(4, patch), std::make_pair(r::unsupported_method, 3u));
    EXPECT_EQ(choose(5, image), std::make_pair(r::encrypted, 4u));
    char lines[32];
    EXPECT_EQ(archive_name_lines(&listing, lines, sizeof lines), 17u); // 24 bytes kept for the count
    EXPECT_STREQ(lines, "x\nx\nx\nand 2 more\n");
}
