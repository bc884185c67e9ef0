// normalize_target_test.cpp -- every layout of a loaded target and the working image it yields
#include "prepare/normalize_target.h"
#include "smd_reference.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <cctype>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const uint32_t big = 0x40000; // the smallest working image the driver accepts
const int32_t refused = -1;

struct mark {
    uint32_t offset;
    const char *text;
};

struct layout_case {
    const char *name;
    uint32_t length; // bytes loaded
    std::vector<mark> marks;
    int32_t start; // expected header bytes stepped over, or refused
    bool converted;
};

const std::string user_error =
    "box|User error|You loaded a patch file.\n\nYou're supposed to load the target file first for "
    "identification purposes.\n\nPlease try again.";

const layout_case layouts[] = {
    {"nothing loaded", 0, {}, 0, false},
    {"four bytes of PATCH", 4, {{0, "PATC"}}, 0, false},
    {"PATCH and nothing else", 5, {{0, "PATCH"}}, refused, false},
    {"PATCH before a copier header", big + 512, {{0, "PATCH"}, {0x300, "SEGA"}}, refused, false},
    {"PATCH one byte in", 100, {{1, "PATCH"}}, 0, false},
    {"lower-case patch", 100, {{0, "patch"}}, 0, false},
    {"copier header with SEGA", big + 512, {{0x300, "SEGA"}}, 512, false},
    {"copier length without marker", big + 512, {}, 0, false},
    {"copier length with lower-case sega", big + 512, {{0x300, "sega"}}, 0, false},
    {"SEGA at a length of whole pages", big, {{0x300, "SEGA"}}, 0, false},
    {"SEGA at a disk-header length", big + 256, {{0x300, "SEGA"}}, 0, false},
    {"copier header before an interleaved image", big + 512, {{0x280, "EA"}, {0x2280, "SG"}}, 512,
     true},
    {"copier EA alone", big + 512, {{0x280, "EA"}}, 0, false},
    {"copier SG alone", big + 512, {{0x2280, "SG"}}, 0, false},
    {"copier EA and SG swapped", big + 512, {{0x280, "SG"}, {0x2280, "EA"}}, 0, false},
    {"disk header with Hudson soft", big + 256, {{0x102, "Hudson soft"}}, 256, false},
    {"disk header with DIFC HEADER", big + 256, {{0xAB, "DIFC HEADER"}}, 256, false},
    {"disk length without marker", big + 256, {}, 0, false},
    {"disk length with one letter off", big + 256, {{0x102, "Hudson Soft"}}, 0, false},
    {"Hudson soft at a copier length", big + 512, {{0x102, "Hudson soft"}}, 0, false},
    {"DIFC HEADER at a length of whole pages", big, {{0xAB, "DIFC HEADER"}}, 0, false},
    {"copier and disk markers at a copier length", big + 512,
     {{0x300, "SEGA"}, {0xAB, "DIFC HEADER"}, {0x102, "Hudson soft"}, {0x200 + 0xAB, "DIFC HEADER"}},
     512, false},
    {"copier and disk markers at a disk length", big + 256,
     {{0x300, "SEGA"}, {0x102, "Hudson soft"}}, 256, false},
    {"interleaved image", big, {{0x80, "EA"}, {0x2080, "SG"}}, 0, true},
    {"interleaved image with a partial last block", big + 0x1000, {{0x80, "EA"}, {0x2080, "SG"}}, 0,
     true},
    {"interleaved image behind a disk header", big + 256,
     {{0xAB, "DIFC HEADER"}, {0x180, "EA"}, {0x2180, "SG"}}, 256, true},
    {"interleave EA alone", big, {{0x80, "EA"}}, 0, false},
    {"interleave SG alone", big, {{0x2080, "SG"}}, 0, false},
    {"interleave marker in less than a block", 0x2082, {{0x80, "EA"}, {0x2080, "SG"}}, 0, true},
    {"interleave marker cut by the end", 0x2081, {{0x80, "EA"}, {0x2080, "S"}}, 0, false},
    {"copier header alone", 512, {}, 0, false},
    {"copier length, interleave marker past the end", 0x1200, {{0x280, "EA"}}, 0, false},
    {"disk header alone, Hudson soft past the end", 256, {}, 0, false},
    {"disk header alone with DIFC HEADER", 256, {{0xAB, "DIFC HEADER"}}, 256, false},
    {"load cut to capacity, interleaved behind a copier header", target_capacity,
     {{0x280, "EA"}, {0x2280, "SG"}}, 512, true},
};

void PrintTo(const layout_case &c, std::ostream *os)
{
    *os << c.name;
}

class normalize_layout : public testing::TestWithParam<layout_case> {};

// The buffer is exactly as long as the load, so a probe past its end trips AddressSanitizer.
TEST_P(normalize_layout, yields_the_working_image)
{
    const layout_case &c = GetParam();
    bytes loaded = marker_free_noise(c.length, c.length);
    for (const mark &m : c.marks)
        std::copy(m.text, m.text + std::strlen(m.text), loaded.begin() + m.offset);
    bytes buffer = loaded;
    script_reset();

    uint32_t length = c.length;
    uint8_t *start = normalize_target(buffer.data(), &length);

    if (c.start == refused) {
        EXPECT_EQ(start, nullptr);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(script_transcript(), std::vector<std::string>{user_error});
        EXPECT_EQ(buffer, loaded);
        return;
    }
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
    ASSERT_EQ(start, buffer.data() + c.start);
    EXPECT_EQ(length, c.length - c.start);
    // Header bytes stay where they were; only de-interleaving changes the image's bytes.
    bytes expected(loaded.begin() + c.start, loaded.end());
    if (c.converted)
        expected = linear_from_interleaved(expected);
    expected.insert(expected.begin(), loaded.begin(), loaded.begin() + c.start);
    EXPECT_EQ(buffer, expected);
    if (c.converted && length >= smd_block) {
        EXPECT_EQ(std::string(start + 0x100, start + 0x104), "SEGA");
    }
}

INSTANTIATE_TEST_SUITE_P(all, normalize_layout, testing::ValuesIn(layouts),
                         [](const testing::TestParamInfo<layout_case> &info) {
                             std::string name = info.param.name;
                             for (char &ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

} // namespace
