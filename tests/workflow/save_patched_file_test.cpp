// save_patched_file_test.cpp -- the save never ruins the chosen file, and its temporary file is
// always a new plain file of its own that takes the place of a plain file only
#include "support/folder_test.h"
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <cstdio>
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

    mode_t type_of(const char *name)
    {
        struct stat info = {};
        EXPECT_EQ(lstat(path(name).c_str(), &info), 0) << name;
        return info.st_mode & S_IFMT;
    }

    bytes image = bytes(4096, 0x3C);
};

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

TEST_F(safe_save, through_a_symbolic_link_replaces_the_target_not_the_link)
{
    write_bytes(path("real.bin"), bytes(10, 1));
    ASSERT_EQ(symlink("real.bin", path("link.bin").c_str()), 0);
    ASSERT_EQ(symlink("later.bin", path("dangling.bin").c_str()), 0);
    EXPECT_EQ(save(path("link.bin")), 1);
    EXPECT_EQ(save(path("dangling.bin")), 1);
    EXPECT_EQ(type_of("link.bin"), S_IFLNK);
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

// Writing through a link planted under the temporary name would put the image in another folder
// and leave a link, not a file, under the chosen name.
TEST_F(safe_save, a_link_under_the_temporary_name_is_never_written_through)
{
    std::string elsewhere = make_temp_folder();
    ASSERT_EQ(symlink((elsewhere + "/planted").c_str(), path("out.bin.patcher-00.tmp").c_str()), 0);
    EXPECT_EQ(save(path("out.bin")), 1);
    EXPECT_EQ(type_of("out.bin"), S_IFREG);
    EXPECT_EQ(read_bytes(path("out.bin")), image);
    EXPECT_TRUE(folder_entries(elsewhere).empty());
    EXPECT_EQ(type_of("out.bin.patcher-00.tmp"), S_IFLNK) << "the planted link is left as it was";
    remove_tree(elsewhere);
}

TEST_F(safe_save, a_folder_with_every_temporary_name_taken_fails_and_keeps_those_files)
{
    for (int n = 0; n < 100; n++) {
        char name[64];
        std::snprintf(name, sizeof name, "out.bin.patcher-%02d.tmp", n);
        write_bytes(path(name), bytes{static_cast<uint8_t>(n)});
    }
    EXPECT_EQ(save(path("out.bin")), 0);
    EXPECT_EQ(script_transcript().back(), write_error);
    EXPECT_FALSE(file_exists(path("out.bin")));
    EXPECT_EQ(folder_entries(folder).size(), 100u);
    EXPECT_EQ(read_bytes(path("out.bin.patcher-99.tmp")), bytes{99});
}

// The temporary name must not grow past the 255 bytes one name may have.
TEST_F(safe_save, a_name_of_the_longest_length_a_folder_allows_is_saved)
{
    const std::string name(255, 'n');
    EXPECT_EQ(save(folder + "/" + name), 1);
    EXPECT_EQ(read_bytes(folder + "/" + name), image);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{name});
}

// A pipe, or a device reached through a link, is not a file the image could replace: renaming
// over it would swap the node itself (as root even /dev/null) for a file.
TEST_F(safe_save, a_name_that_is_no_plain_file_is_refused_and_kept)
{
    ASSERT_EQ(mkfifo(path("pipe.bin").c_str(), 0644), 0);
    ASSERT_EQ(symlink(path("pipe.bin").c_str(), path("link.bin").c_str()), 0);
    for (const char *name : {"pipe.bin", "link.bin"}) {
        script_reset();
        EXPECT_EQ(save(path(name)), 0) << name;
        EXPECT_EQ(script_transcript().back(), write_error) << name;
        EXPECT_EQ(type_of("pipe.bin"), S_IFIFO) << name;
        EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"link.bin", "pipe.bin"})) << name;
    }
}

} // namespace
