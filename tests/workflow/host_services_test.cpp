// host_services_test.cpp -- the path a cancelled dialog leaves, reading a file up to capacity, and
// the clipboard's failure line
#include "support/working_folder.h"
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

TEST(host_services, reads_up_to_capacity_warns_only_when_cutting_and_leaves_a_cancelled_path_empty)
{
    working_folder folder;
    script_reset();
    char path[16] = "left over";
    EXPECT_EQ(browse_for_file("Load IPS file", 0, "*.ips", path, sizeof path), 0);
    EXPECT_STREQ(path, "");
    for (uint32_t length : {1000u, 1001u}) {
        script_reset();
        bytes data(length, 0x42), buffer(1016, 0xEE);
        write_bytes("target", data);
        EXPECT_EQ(load_file("target", buffer.data(), 1000), 1000u);
        EXPECT_EQ(buffer[999], 0x42);
        EXPECT_EQ(buffer[1000], 0xEE) << "nothing is written behind the capacity";
        EXPECT_EQ(script_transcript().size(), length > 1000 ? 1u : 0u);
    }
    EXPECT_EQ(script_transcript().back(), "box|Warning|File size is too large and will be truncated");
    EXPECT_EQ(load_file(folder.path.c_str(), reinterpret_cast<uint8_t *>(path), 8), 0u) << "a folder";
}

TEST(host_services, a_clipboard_that_cannot_be_opened_gets_the_line_on_standard_output)
{
    script_reset();
    script_clipboard_fails(true);
    copy_text_to_clipboard("0x12345678");
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"stdout||Error opening clipboard"});
}
