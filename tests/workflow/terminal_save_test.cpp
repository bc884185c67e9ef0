// terminal_save_test.cpp -- the built program's save under a file-size limit, with its standard
// error closed, and given folders for names
#include "support/scenario.h"

#include <gtest/gtest.h>

namespace {

// A 16 MiB image that no title has, a one-byte patch, and the answers of a run that saves out.bin
// (over an old one: "y"). Returns the folder.
std::string make_run(bytes &patched)
{
    std::string folder = make_temp_folder();
    bytes image(16 << 20);
    for (size_t i = 0; i < image.size(); i++)
        image[i] = static_cast<uint8_t>(i * 131 >> 7);
    write_bytes(folder + "/image.bin", image);
    write_bytes(folder + "/patch.ips", make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99}));
    write_bytes(folder + "/out.bin", bytes(3, 'o'));
    patched = image;
    patched[0x10] = 0x99;
    return folder;
}

const std::string answers = "image.bin\n\npatch.ips\n\nout.bin\ny\n";

} // namespace

// Each case: a shell line run in the folder that starts the program ($P), the answers, and what it
// must have said on standard error; afterwards out.bin holds the patched image or its old bytes.
TEST(terminal_save, fails_as_a_save_or_saves_whole_and_leaves_nothing_behind)
{
    const char *const cases[][3] = {
        {"ulimit -f 1024; exec $P", "",
         "patcher: cannot write out.bin: File too large\nError\nError writing file\n"},
        {"exec $P 2>&-", "", ""}, // the prompts must not land in a file the program opens later
        {"exec $P", "wdir\n", "Not a regular file: wdir\n"},
        {"exec $P", "wdir/\n", "Not a regular file: wdir/\n"},
    };
    for (const auto &c : cases) {
        bytes patched;
        std::string folder = make_run(patched), io = make_temp_folder();
        std::system(("mkdir '" + folder + "/wdir'").c_str());
        std::string input = answers;
        if (*c[1]) // a folder's name first, at the prompt it is given to, then the file's
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
