// save_patched_file_win32_test.cpp -- on Windows too the save replaces the chosen file whole, or
// reports that it could not and leaves the folder as it was
#include "support/temp_folder.h"
#include "host/host_services.h"
#include "support/platform_scripted.h"
#include "workflow/save_patched_file.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(win32_save, replaces_a_file_whole_and_refuses_what_it_cannot_replace)
{
    working_folder folder;
    const bytes image(4096, 0x3C);
    write_bytes("old.bin", bytes(10000, 1)); // longer than the image: nothing of it may stay
    write_bytes("locked.bin", bytes(10, 2));
    SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA("folder.bin", nullptr);
    const std::vector<std::string> before = folder_entries(folder.path);
    for (const char *name : {"missing/out.bin", "folder.bin", "locked.bin", "old.bin"}) {
        script_reset();
        script_answer(name);
        const bool saved = save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
        EXPECT_EQ(saved, std::string(name) == "old.bin") << name;
        EXPECT_EQ(script_transcript().back() == "box|Error|Error writing file", !saved) << name;
        EXPECT_EQ(folder_entries(folder.path), before) << name;
    }
    EXPECT_EQ(read_bytes("old.bin"), image);
    EXPECT_EQ(read_bytes("locked.bin"), bytes(10, 2));
    SetFileAttributesA("locked.bin", FILE_ATTRIBUTE_NORMAL); // so that it can be removed
}
