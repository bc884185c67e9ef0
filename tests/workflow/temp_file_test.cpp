// temp_file_test.cpp -- the save's temporary file is always a new file of its own, and only ever
// takes the place of a plain file
#include "support/temp_folder.h"
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class temp_file : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_temp_folder();
        elsewhere = make_temp_folder();
        script_reset();
    }
    void TearDown() override
    {
        remove_tree(folder);
        remove_tree(elsewhere);
    }
    std::string path(const char *name) const { return folder + "/" + name; }

    int32_t save(const std::string &answer)
    {
        script_answer(answer);
        return save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
    }

    std::string folder, elsewhere;
    bytes image = bytes(512, 0x6B);
};

TEST_F(temp_file, a_link_under_the_temporary_name_is_never_written_through)
{
    // A link that leads nowhere yet: writing through it would put the image in another folder and
    // leave a link, not a file, under the chosen name.
    std::string victim = elsewhere + "/planted";
    ASSERT_EQ(symlink(victim.c_str(), path("out.bin.patcher-00.tmp").c_str()), 0);
    EXPECT_EQ(save(path("out.bin")), 1);
    struct stat info;
    ASSERT_EQ(lstat(path("out.bin").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read_bytes(path("out.bin")), image);
    EXPECT_FALSE(file_exists(victim));
    ASSERT_EQ(lstat(path("out.bin.patcher-00.tmp").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the planted link is left as it was";
}

TEST_F(temp_file, a_folder_with_every_temporary_name_taken_fails_and_keeps_those_files)
{
    for (int n = 0; n < 100; n++) {
        char name[64];
        std::snprintf(name, sizeof name, "out.bin.patcher-%02d.tmp", n);
        write_bytes(path(name), bytes{static_cast<uint8_t>(n)});
    }
    EXPECT_EQ(save(path("out.bin")), 0);
    EXPECT_EQ(script_transcript().back(), "box|Error|Error writing file");
    EXPECT_FALSE(file_exists(path("out.bin")));
    EXPECT_EQ(folder_entries(folder).size(), 100u);
    EXPECT_EQ(read_bytes(path("out.bin.patcher-99.tmp")), bytes{99});
}

TEST_F(temp_file, a_name_of_the_longest_length_a_folder_allows_is_saved)
{
    // The temporary name must not grow past the 255 bytes one name may have.
    const std::string name(255, 'n');
    EXPECT_EQ(save(folder + "/" + name), 1);
    EXPECT_EQ(read_bytes(folder + "/" + name), image);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{name});
}

struct special_case {
    const char *name;
    bool through_link; // chosen by a symbolic link that leads to it
};

TEST_F(temp_file, a_name_that_is_no_plain_file_is_refused_and_kept)
{
    // A pipe, or a device reached through a link, is not a file the image could replace: renaming
    // over it would swap the node itself (as root even /dev/null) for a file.
    for (special_case c : {special_case{"pipe", false}, special_case{"link to a pipe", true}}) {
        script_reset();
        remove_tree(folder);
        folder = make_temp_folder();
        ASSERT_EQ(mkfifo(path("pipe.bin").c_str(), 0644), 0);
        if (c.through_link) {
            ASSERT_EQ(symlink(path("pipe.bin").c_str(), path("link.bin").c_str()), 0);
        }
        std::vector<std::string> before = folder_entries(folder);
        EXPECT_EQ(save(path(c.through_link ? "link.bin" : "pipe.bin")), 0) << c.name;
        EXPECT_EQ(script_transcript().back(), "box|Error|Error writing file") << c.name;
        struct stat info;
        ASSERT_EQ(lstat(path("pipe.bin").c_str(), &info), 0) << c.name;
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << c.name;
        EXPECT_EQ(folder_entries(folder), before) << c.name << ": a temporary file was left";
    }
}

} // namespace
