// archive_test.cpp -- archives made by zip, 7-Zip, gzip and Python give back the files packed in
// them, or are refused for the right reason; damaged ones never give anything
#include "archive/archive_select.h"
#include "archive/entry_names.h"
#include "host/inflate.h"
#include "support/temp_folder.h"
#include "workflow/unpack_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

static const std::string made = ARCHIVE_FIXTURES "/"; // tests/archive/make_archives.py writes there
static const uint32_t capacity = 0x400000; // 4 MiB: more than every file packed
static archive_listing listing;           // 72 KiB, static as the program will keep it
using u = unpack_result;
constexpr archive_want image = archive_want::image, patch = archive_want::patch;

struct opened {
    unpack_result result;
    bytes content;
    std::string said;  // "cut", or the box's text
    std::string names; // archive_name_lines
};

// The file unpacked as the program unpacks it, into room + 1 bytes (ASan watches the end), and the
// names a listing shows.
static opened open_archive(const bytes &file, archive_want want, uint32_t room = capacity)
{
    char names[8192], message[archive_message_size] = "";
    archive_list(file.data(), uint32_t(file.size()), &listing);
    archive_name_lines(&listing, names, sizeof names);
    bytes content(room + 1);
    const unpack_outcome o = unpack_archive(file.data(), uint32_t(file.size()), want, content.data(), room, message);
    content.resize(o.length + o.cut); // a cut entry fills the byte past the room too
    return {o.result, content, o.cut ? "cut" : message, names};
}

// One line per archive and question: what comes out (a file packed, or for a cut one its start),
// what the box says, and the names shown, where make_archives.py wrote them.
TEST(archive, each_writer_gives_back_its_files_or_the_reason_it_cannot)
{
    const struct {
        const char *archive;
        archive_want want;
        unpack_result result;
        const char *content; // the original file, "" for none
        const char *said;    // a part of o.said
        uint32_t room;
    } rows[] = {
        {"infozip.zip", image, u::unpacked, "image.bin", "", capacity},
        {"infozip.zip", patch, u::unpacked, "patch.ips", "", capacity},
        {"infozip.zip", image, u::unpacked, "image.bin", "cut", archive_image_minimum},
        {"infozip_stored.zip", image, u::unpacked, "image.bin", "", capacity},
        {"infozip_stored.zip", image, u::unpacked, "image.bin", "cut", 1000},
        {"infozip_zip64.zip", image, u::unpacked, "image.bin", "", capacity},
        {"infozip_stream.zip", image, u::unpacked, "image.bin", "", capacity},
        {"edges.zip", image, u::unpacked, "exact.bin", "", capacity},
        {"edges.zip", patch, u::choose_again, "", "readme.txt in this archive is packed with bzip2", capacity},
        {"7z_deflate.zip", image, u::unpacked, "image.bin", "", capacity},
        {"7z_deflate64.zip", image, u::choose_again, "", "image.bin in this archive is packed with Deflate64", capacity},
        {"7z_encrypted.zip", image, u::choose_again, "", "image.bin in this archive is protected", capacity},
        {"7z_two_images.zip", image, u::choose_again, "", "This archive holds more than one game image", capacity},
        {"named.gz", image, u::unpacked, "image.bin", "", capacity},
        {"unnamed.gz", patch, u::unpacked, "patch.ips", "", capacity},
        {"all_parts.gz", image, u::unpacked, "image.bin", "", capacity},
        {"py_zip64_all.zip", image, u::unpacked, "image.bin", "", capacity},
        {"py_names.zip", image, u::unpacked, "image.bin", "", capacity},
        {"macos.zip", image, u::unpacked, "image.bin", "", capacity},
        {"empty.zip", image, u::choose_again, "", "This archive holds no game image. It holds:\n\n(nothing)", capacity},
        {"full.zip", patch, u::choose_again, "", "holds no IPS patch. It holds:\n\nf000.txt\n", capacity},
        {"full.zip", patch, u::choose_again, "", "f067.txt\nand 188 more\n\nPlease", capacity},
        {"many.zip", patch, u::choose_again, "", "This archive holds too many files", capacity},
        {"image.bin", image, u::plain, "", "", capacity},
    };
    for (const auto &c : rows) {
        const opened o = open_archive(read_bytes(made + c.archive), c.want, c.room);
        EXPECT_EQ(o.result, c.result) << c.archive;
        EXPECT_NE(o.said.find(c.said), std::string::npos) << c.archive << ": " << o.said;
        bytes expected = *c.content ? read_bytes(made + c.content) : bytes();
        if (o.said == "cut") // the start of the file, one byte more than room
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
    ASSERT_EQ(open_archive(good, image).result, u::unpacked);
    const uint32_t data = listing.entries[0].data_at;
    const struct {
        const char *what;
        uint32_t at, add, width;
        unpack_result result;
    } faults[] = {
        {"a data byte", data + 1000, 1, 1, u::damaged},
        {"the CRC-32", central + 16, 1, 4, u::damaged},
        {"the compressed size, one less", central + 20, 0xFFFFFFFF, 4, u::damaged},
        {"the compressed size, past the directory", central + 20, 0x100000, 4, u::damaged},
        {"the size, one more", central + 24, 1, 4, u::damaged},
        {"the size, one less", central + 24, 0xFFFFFFFF, 4, u::damaged},
        {"the entry's disk", central + 34, 1, 2, u::choose_again},
        {"the local header's offset", central + 42, 1, 4, u::damaged},
        {"the end record's disk", end + 4, 1, 2, u::choose_again},
        {"the directory's size", end + 12, 1, 4, u::damaged},
        {"the directory's offset", end + 16, 1, 4, u::damaged},
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
            EXPECT_EQ(open_archive(bytes(whole.begin(), whole.begin() + length), image).result, u::damaged)
                << name << " cut at " << length;
    }
    // A Zip64 locator too near the start for its record to fit in front of it; deflate data broken
    // right behind the capacity, which is cut as it would be further on.
    bytes near = {'P', 'K', 3, 4, 'P', 'K', 6, 7, 0, 0, 0, 0, 0x80, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'P', 'K', 5, 6};
    near.resize(near.size() + 18);
    EXPECT_EQ(open_archive(near, image).result, u::damaged);
    const uint8_t broken[] = {0x73, 0xff, 0xff, 0xff, 0xff, 0xff, 0x10, 0x0a, 0xff, 0xff, 0xbe, 0x2e, 0x63, 0x4e, 3, 0};
    uint8_t out[6];
    EXPECT_EQ(inflate_entry(broken, sizeof broken, archive_method_deflated, out, 5).result, inflate_result::cut);
}

// Names as shown: ill-formed UTF-8 and control bytes as '?', a long name cut whole characters
// short (the code pages are traced whole through py_names.zip; macOS's metadata through macos.zip).
TEST(archive, names_are_shown_as_utf8)
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
}
