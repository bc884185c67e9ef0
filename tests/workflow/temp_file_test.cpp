// temp_file_test.cpp -- the save's temporary file is always a new file of its own
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

} // namespace
