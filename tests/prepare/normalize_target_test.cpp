// normalize_target_test.cpp -- every layout of a loaded target and the working image it yields
#include "prepare/normalize_target.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

static const uint32_t big = 0x40000;  // the smallest working image the driver accepts
static const uint32_t block = 0x4000; // an interleaved block: its odd bytes, then its even bytes

// Name, bytes loaded, texts at their offsets, header bytes stepped over (-1: refused), and whether
// what is left is converted from the interleaved layout.
using layout = std::tuple<const char *, uint32_t, std::vector<std::pair<uint32_t, const char *>>, int, bool>;

// A header is stripped only when the length leaves room for it and its marker stands whole at its
// own offset, and a pair of markers counts only together: each row that strips or converts nothing
// puts one of those out of reach. The copier header's length lies 0x1200 past a multiple of 8 KiB,
// the 1536 residue 0x200 past one of 1 KiB: only pages of 4 KiB tell both right.
TEST(normalize_target, yields_the_working_image_of_every_layout)
{
    const layout layouts[] = {
        {"four bytes of PATCH", 4, {{0, "PATC"}}, 0, false},
        {"PATCH alone", 5, {{0, "PATCH"}}, -1, false},
        {"a patch, copier marker too", big + 512, {{0, "PATCH"}, {0x300, "SEGA"}}, -1, false},
        {"copier header", big + 0x1200, {{0x300, "SEGA"}}, 512, false},
        {"SEGA, DIFC HEADER, 1536 residue", big + 0x600, {{0x300, "SEGA"}, {0xAB, "DIFC HEADER"}}, 0, false},
        {"copier header, interleaved", big + 512, {{0x280, "EA"}, {0x2280, "SG"}}, 512, true},
        {"copier EA, interleave SG", big + 512, {{0x280, "EA"}, {0x2080, "SG"}}, 0, false},
        {"copier SG, interleave EA", big + 512, {{0x2280, "SG"}, {0x80, "EA"}}, 0, false},
        {"disk header, Hudson soft", big + 256, {{0x102, "Hudson soft"}}, 256, false},
        {"disk header, DIFC HEADER", big + 256, {{0xAB, "DIFC HEADER"}}, 256, false},
        {"disk header, DIFC HEADEX", big + 256, {{0xAB, "DIFC HEADEX"}}, 0, false},
        {"SEGA, 2560 residue", big + 0xA00, {{0x300, "SEGA"}}, 0, false},
        {"interleaved, a partial block", 3 * block + 9000, {{0x80, "EA"}, {0x2080, "SG"}}, 0, true},
    };
    for (const auto &[name, loaded_length, marks, header, interleaved] : layouts) {
        SCOPED_TRACE(name);
        bytes loaded(loaded_length); // exactly as long as the load: ASan sees a probe past its end
        for (uint32_t i = 0; i < loaded_length; i++) // high bytes spell no marker by chance
            loaded[i] = static_cast<uint8_t>(0x80 | i * 2654435761u >> 25);
        for (const auto &[offset, text] : marks)
            std::memcpy(loaded.data() + offset, text, std::strlen(text));
        bytes buffer = loaded, expected = loaded; // a stripped header stays where it was
        // Linear byte p of a whole block comes from the first half (p odd) or the second (p even).
        for (size_t at = header; interleaved && at + block <= loaded_length; at += block)
            for (size_t p = 0; p < block; p++)
                expected[at + p] = loaded[at + (p % 2 ? p / 2 : block / 2 + p / 2)];
        uint32_t length = loaded_length;
        EXPECT_EQ(normalize_target(buffer.data(), &length), header < 0 ? nullptr : &buffer[header]);
        EXPECT_EQ(length, header < 0 ? 0 : loaded_length - header);
        EXPECT_EQ(buffer, expected);
        // The reference itself puts "SEGA" where a cartridge header has it.
        EXPECT_TRUE(!interleaved || !std::memcmp(&expected[header + 0x100], "SEGA", 4));
    }
}
