// host_services_test.cpp -- filters, dialogs, whole-file reading and writing, and the clipboard
#include "support/folder_test.h"
#include "workflow/host_services.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using host_services = folder_test;

TEST(filter_text, holds_the_pattern_twice_and_ends_in_an_empty_entry)
{
    struct {
        const char *pattern;
        int32_t fits;
        std::string expect;
    } cases[] = {
        {"*", 1, std::string("*\0*\0\0", 5)},
        {"*.ips", 1, std::string("*.ips\0*.ips\0\0", 13)},
        {"thirteen.char", 1, std::string("thirteen.char\0thirteen.char\0\0", 29)},
        {"fourteen.chars", 0, std::string()},
    };
    for (const auto &c : cases) {
        char filter[filter_text_size];
        std::memset(filter, 0x7F, sizeof filter);
        EXPECT_EQ(build_filter_text(c.pattern, filter), c.fits) << c.pattern;
        std::string padded = c.expect + std::string(filter_text_size - c.expect.size(), '\0');
        EXPECT_EQ(std::string(filter, filter_text_size), padded) << c.pattern;
    }
}

TEST_F(host_services, browse_empties_the_path_and_passes_title_pattern_and_filter)
{
    char path_area[64] = "left over";
    EXPECT_EQ(browse_for_file("Load IPS file", 0, "*.ips", path_area, sizeof path_area), 0);
    EXPECT_STREQ(path_area, "");
    script_answer("chosen.ips");
    EXPECT_NE(browse_for_file("Save patched file", 1, "*.bin", path_area, sizeof path_area), 0);
    EXPECT_STREQ(path_area, "chosen.ips");
    const auto &events = script_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, "open");
    EXPECT_EQ(events[0].title, "Load IPS file");
    EXPECT_EQ(events[0].filter.substr(0, 13), std::string("*.ips\0*.ips\0\0", 13));
    EXPECT_EQ(events[1].kind, "save");
    EXPECT_EQ(events[1].text, "*.bin");
}

TEST_F(host_services, load_file_reads_up_to_capacity_and_warns_only_when_cutting)
{
    const uint32_t capacity = 1000;
    struct {
        uint32_t file_length;
        uint32_t expect_count;
        bool warned;
    } cases[] = {{0, 0, false}, {1, 1, false}, {999, 999, false}, {1000, 1000, false},
                 {1001, 1000, true}, {5000, 1000, true}};
    for (const auto &c : cases) {
        script_reset();
        bytes data(c.file_length);
        for (uint32_t i = 0; i < c.file_length; i++)
            data[i] = static_cast<uint8_t>(i * 7);
        write_bytes(path("target"), data);
        bytes buffer(capacity + 16, 0xEE);
        EXPECT_EQ(load_file(path("target").c_str(), buffer.data(), capacity), c.expect_count);
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + c.expect_count, data.begin()));
        EXPECT_EQ(buffer[c.expect_count], 0xEE) << "nothing is written behind the bytes read";
        std::vector<std::string> expected;
        if (c.warned)
            expected.push_back("box|Warning|File size is too large and will be truncated");
        EXPECT_EQ(script_transcript(), expected) << c.file_length;
    }
}

// A folder opens as a stream on POSIX systems, and some file systems give it an enormous size: it
// must not draw the warning about cutting a file that was never read.
TEST_F(host_services, load_file_of_a_missing_file_or_a_folder_is_zero_without_a_message)
{
    uint8_t buffer[8];
    EXPECT_EQ(load_file(path("absent").c_str(), buffer, sizeof buffer), 0u);
    EXPECT_EQ(load_file(folder.c_str(), buffer, sizeof buffer), 0u);
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
}

TEST_F(host_services, file_size_leaves_the_stream_at_its_start)
{
    write_bytes(path("f"), bytes{1, 2, 3, 4, 5});
    FILE *stream = std::fopen(path("f").c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    std::fgetc(stream);
    std::fgetc(stream);
    EXPECT_EQ(file_size(stream), 5);
    EXPECT_EQ(std::fgetc(stream), 1);
    std::fclose(stream);
}

// /dev/full takes the buffered bytes and then refuses them when they are flushed.
TEST_F(host_services, write_file_counts_bytes_and_fails_when_they_cannot_all_be_written)
{
    bytes data = {9, 8, 7};
    EXPECT_EQ(write_file(path("out").c_str(), data.data(), 3), 3u);
    EXPECT_EQ(read_bytes(path("out")), data);
    EXPECT_EQ(write_file(path("missing/out").c_str(), data.data(), 3), 0u);
    EXPECT_EQ(write_file("/dev/full", data.data(), 3), 0u);
}

TEST_F(host_services, load_named_patch_fills_the_patch_buffer)
{
    bytes patch = make_patch({0, 0, 1, 0, 1, 0x5A});
    write_bytes(path("p.ips"), patch);
    ASSERT_EQ(load_named_patch(path("p.ips").c_str()), patch.size());
    EXPECT_TRUE(std::equal(patch.begin(), patch.end(), patch_buffer));
    EXPECT_EQ(load_named_patch(path("none.ips").c_str()), 0u);
}

TEST_F(host_services, clipboard_text_or_the_failure_line_and_never_a_box)
{
    copy_text_to_clipboard("0x0000ABCD");
    script_clipboard_fails(true);
    copy_text_to_clipboard("0x12345678");
    std::vector<std::string> expected = {"clipboard||0x0000ABCD", "stdout||Error opening clipboard"};
    EXPECT_EQ(script_transcript(), expected);
}

} // namespace
