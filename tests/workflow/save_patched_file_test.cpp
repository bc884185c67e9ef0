// save_patched_file_test.cpp -- the save never ruins the chosen file and leaves nothing behind
#include "support/folder_test.h"
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char write_error[] = "box|Error|Error writing file";

class safe_save : public folder_test {
protected:
    // Saves image under the scripted answer and returns the result.
    int32_t save(const std::string &answer)
    {
        script_answer(answer);
        return save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
    }

    bytes image = bytes(4096, 0x3C);
};

TEST_F(safe_save, writes_a_new_file_whole)
{
    EXPECT_EQ(save(path("out.bin")), 1);
    EXPECT_EQ(read_bytes(path("out.bin")), image);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"out.bin"});
    std::vector<std::string> expected = {"save|Save patched file|*.bin"};
    EXPECT_EQ(script_transcript(), expected);
}

TEST_F(safe_save, replaces_an_existing_file_and_keeps_its_permissions)
{
    write_bytes(path("old.bin"), bytes(10, 1));
    chmod(path("old.bin").c_str(), 0640);
    EXPECT_EQ(save(path("old.bin")), 1);
    EXPECT_EQ(read_bytes(path("old.bin")), image);
    struct stat info;
    ASSERT_EQ(stat(path("old.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"old.bin"});
}

TEST_F(safe_save, cancel_writes_nothing_and_says_nothing)
{
    EXPECT_EQ(save(""), 0);
    EXPECT_TRUE(folder_entries(folder).empty());
    EXPECT_EQ(script_events().size(), 1u);
}

TEST_F(safe_save, failures_report_and_leave_the_folder_as_it_was)
{
    write_bytes(path("keep.bin"), bytes(10, 1));
    mkdir(path("a folder").c_str(), 0755);
    const char *names[] = {"missing/out.bin", "a folder"};
    for (const char *name : names) {
        script_reset();
        EXPECT_EQ(save(path(name)), 0) << name;
        EXPECT_EQ(script_transcript().back(), write_error) << name;
        EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"a folder", "keep.bin"}));
    }
}

TEST_F(safe_save, through_a_symbolic_link_replaces_the_target_not_the_link)
{
    write_bytes(path("real.bin"), bytes(10, 1));
    ASSERT_EQ(symlink("real.bin", path("link.bin").c_str()), 0);
    ASSERT_EQ(symlink("later.bin", path("dangling.bin").c_str()), 0);
    EXPECT_EQ(save(path("link.bin")), 1);
    EXPECT_EQ(save(path("dangling.bin")), 1);
    struct stat info;
    ASSERT_EQ(lstat(path("link.bin").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(read_bytes(path("real.bin")), image);
    EXPECT_EQ(read_bytes(path("later.bin")), image);
    EXPECT_EQ(folder_entries(folder),
              (std::vector<std::string>{"dangling.bin", "later.bin", "link.bin", "real.bin"}));
}

TEST_F(safe_save, a_temporary_name_in_use_is_passed_over_and_kept)
{
    write_bytes(path("out.bin.patcher-00.tmp"), bytes{7});
    EXPECT_EQ(save(path("out.bin")), 1);
    EXPECT_EQ(read_bytes(path("out.bin.patcher-00.tmp")), bytes{7});
    EXPECT_EQ(read_bytes(path("out.bin")), image);
}

TEST_F(safe_save, a_read_only_folder_leaves_the_old_file_intact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the end-to-end tests mount one instead";
    write_bytes(path("keep.bin"), bytes(10, 1));
    chmod(folder.c_str(), 0555);
    EXPECT_EQ(save(path("keep.bin")), 0);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(read_bytes(path("keep.bin")), bytes(10, 1));
    EXPECT_EQ(script_transcript().back(), write_error);
}

} // namespace
