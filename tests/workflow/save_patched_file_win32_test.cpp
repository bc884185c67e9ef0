// save_patched_file_win32_test.cpp -- on Windows too the save replaces the chosen file in one step
// and never ruins it
#include "support/folder_test.h"
#include "workflow/host_services.h"

#include <windows.h>

namespace {

const char write_error[] = "box|Error|Error writing file";

class win32_save : public folder_test {
protected:
    int32_t save(const std::string &answer)
    {
        script_answer(answer);
        return save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
    }

    bytes image = bytes(4096, 0x3C);
};

TEST_F(win32_save, replaces_an_existing_file_whole)
{
    write_bytes(path("old.bin"), bytes(10000, 1)); // longer than the image: nothing of it may stay
    EXPECT_EQ(save(path("old.bin")), 1);
    EXPECT_EQ(read_bytes(path("old.bin")), image);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"old.bin"});
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"save|Save patched file|*.bin"});
}

TEST_F(win32_save, keeps_the_hidden_attribute_of_the_replaced_file)
{
    write_bytes(path("hidden.bin"), bytes(10, 1));
    ASSERT_NE(SetFileAttributesA(path("hidden.bin").c_str(), FILE_ATTRIBUTE_HIDDEN), 0);
    if (!(GetFileAttributesA(path("hidden.bin").c_str()) & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden attribute";
    EXPECT_EQ(save(path("hidden.bin")), 1);
    EXPECT_EQ(read_bytes(path("hidden.bin")), image);
    EXPECT_TRUE(GetFileAttributesA(path("hidden.bin").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(win32_save, failures_report_and_leave_the_folder_as_it_was)
{
    write_bytes(path("keep.bin"), bytes(10, 1));
    write_bytes(path("locked.bin"), bytes(10, 2));
    ASSERT_NE(SetFileAttributesA(path("locked.bin").c_str(), FILE_ATTRIBUTE_READONLY), 0);
    ASSERT_NE(CreateDirectoryA(path("a folder").c_str(), nullptr), 0);
    const char *names[] = {"missing/out.bin", "a folder", "locked.bin"};
    for (const char *name : names) {
        script_reset();
        EXPECT_EQ(save(path(name)), 0) << name;
        EXPECT_EQ(script_transcript().back(), write_error) << name;
        EXPECT_EQ(folder_entries(folder),
                  (std::vector<std::string>{"a folder", "keep.bin", "locked.bin"}))
            << name;
    }
    EXPECT_EQ(read_bytes(path("locked.bin")), bytes(10, 2));
    SetFileAttributesA(path("locked.bin").c_str(), FILE_ATTRIBUTE_NORMAL); // so it can be removed
}

TEST_F(win32_save, a_file_held_open_elsewhere_is_left_intact)
{
    write_bytes(path("busy.bin"), bytes(10, 1));
    // Another program reads the file and lets nobody write, rename or delete it meanwhile.
    HANDLE other = CreateFileA(path("busy.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(save(path("busy.bin")), 0);
    CloseHandle(other);
    EXPECT_EQ(script_transcript().back(), write_error);
    EXPECT_EQ(read_bytes(path("busy.bin")), bytes(10, 1));
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"busy.bin"});
}

TEST(win32_write, to_a_device_counts_as_written)
{
    // NUL takes every byte and has nothing to flush to a disk.
    bytes data(100, 1);
    EXPECT_EQ(write_file("NUL", data.data(), 100), 100u);
}

} // namespace
