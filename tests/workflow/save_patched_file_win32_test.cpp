// save_patched_file_win32_test.cpp -- on Windows too the save replaces the chosen file whole, or
// reports why it could not and leaves the folder as it was
#include "support/temp_folder.h"
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(win32_save, replaces_a_file_whole_and_refuses_what_it_cannot_replace)
{
    working_folder folder;
    const bytes image(4096, 0x3C);
    write_bytes("old.bin", bytes(10000, 1)); // longer than the image: nothing of it may stay
    write_bytes("locked.bin", bytes(10, 2));
    write_bytes("busy.bin", bytes(10, 3));
    ASSERT_NE(SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_READONLY), 0);
    ASSERT_NE(CreateDirectoryA("folder.bin", nullptr), 0);
    // Another program reads busy.bin and lets nobody write, rename or delete it meanwhile.
    HANDLE other = CreateFileA("busy.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::vector<std::string> before = folder_entries(folder.path);
    for (const char *name : {"missing/out.bin", "folder.bin", "locked.bin", "busy.bin", "old.bin"}) {
        script_reset();
        script_answer(name);
        int32_t saved = save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
        EXPECT_EQ(saved, std::string(name) == "old.bin") << name;
        EXPECT_EQ(script_transcript().back(), saved ? "save|Save patched file|*.bin" : "box|Error|Error writing file");
        EXPECT_EQ(folder_entries(folder.path), before) << name;
    }
    CloseHandle(other);
    EXPECT_EQ(read_bytes("old.bin"), image);
    EXPECT_EQ(read_bytes("locked.bin"), bytes(10, 2));
    EXPECT_EQ(read_bytes("busy.bin"), bytes(10, 3));
    SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_NORMAL); // so that it can be removed
}
