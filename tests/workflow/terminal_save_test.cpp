// terminal_save_test.cpp -- the built program's save under a file-size limit, with its standard
// error closed, and given folders for names
#include "support/scenario.h"

#include <gtest/gtest.h>

// Each case: a shell line run in the folder that starts the program ($P), a folder's name given
// first at the prompt it is given to, and what it must have said on standard error. The run loads a
// 16 MiB image that no title has and a one-byte patch, and saves out.bin over an old one ("y");
// afterwards out.bin holds the patched image or its old bytes.
TEST(terminal_save, fails_as_a_save_or_saves_whole_and_leaves_nothing_behind)
{
    bytes image(16 << 20), patched;
    for (size_t i = 0; i < image.size(); i++)
        image[i] = static_cast<uint8_t>(i * 131 >> 7);
    (patched = image)[0x10] = 0x99;
    const std::string answers = "image.bin\n\npatch.ips\n\nout.bin\ny\n";
    const char *const cases[][3] = {
        {"ulimit -f 1024; exec $P", "",
         "patcher: cannot write out.bin: File too large\nError\nError writing file\n"},
        {"exec $P 2>&-", "", ""}, // the prompts must not land in a file the program opens later
        {"exec $P", "wdir\n", "Not a regular file: wdir\n"},
        {"exec $P", "wdir/\n", "Not a regular file: wdir/\n"},
    };
    for (const auto &c : cases) {
        const std::string folder = make_temp_folder(), io = make_temp_folder();
        write_bytes(folder + "/image.bin", image);
        write_bytes(folder + "/patch.ips", make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99}));
        write_bytes(folder + "/out.bin", bytes(3, 'o'));
        std::filesystem::create_directory(folder + "/wdir");
        std::string input = answers;
        input.insert(std::string(c[1]) == "wdir\n" ? 0 : answers.find("out.bin"), c[1]);
        start_program("sh -c '" + std::string(c[0]) + "'", folder, input, io, "-u DISPLAY P=" PATCHER_EXE);
        const bool failed = std::string(c[2]).find("cannot write") != std::string::npos;
        EXPECT_EQ(finish_program(io), failed ? 1 : 0) << c[0];
        EXPECT_NE(text_file(io + "/err").find(c[2]), std::string::npos) << c[0] << text_file(io + "/err");
        EXPECT_EQ(read_bytes(folder + "/out.bin"), failed ? bytes(3, 'o') : patched) << c[0];
        const std::vector<std::string> files = {"image.bin", "out.bin", "patch.ips", "wdir"};
        EXPECT_EQ(folder_entries(folder), files) << c[0];
        remove_tree(folder);
        remove_tree(io);
    }
}
