// command_line_test.cpp -- the built program started with files and options: which dialogs it
// still shows, what it writes, and its exit status
#include "support/scenario.h"

#include <gtest/gtest.h>

namespace {

struct command_case {
    const char *arguments, *input;
    int status;
    std::string said;            // in its standard error (or output, for help and version)
    const char *not_said;
    bool writes;                 // out.bin holds the patched image afterwards
};

const std::string usage = "Usage: patcher [OPTIONS] [FILE [FILE [OUTPUT]]]";
const std::string hint = "\nTry 'patcher --help' for more information.\n";
const std::string unasked = "Load file to be patched"; // no dialog at all
const std::string replace = "out.bin already exists. Replace it? [y/N] ";

} // namespace

TEST(command_line, files_take_the_place_of_their_dialogs_and_the_exit_status_tells)
{
    const command_case cases[] = {
        {"image.bin patch.ips new.bin", "", 0, "Unrecognized patch", "File name", false},
        {"patch.ips image.bin out.bin", "", 1, replace + "\n", "File name", false}, // no answer: no
        {"-f patch.ips image.bin out.bin", "", 0, "Unrecognized patch", "Replace", true},
        {"image.bin patch.ips out.bin", "\n\ny\n", 0, replace, "File name", true}, // 2 boxes, yes
        {"image.bin", "\npatch.ips\n\nout.bin\ny\n", 0, "Load IPS file", unasked.c_str(), true},
        {"patch.ips", "image.bin\n\n\nout.bin\ny\n", 0, unasked, "Load IPS file", true},
        {"-- -x patch.ips out.bin", "", 1, "cannot read -x: No such file", "", false},
        {"missing.ips image.bin out.bin", "", 1, "Error loading patch file", "Load IPS file", false},
        {"-x", "", 2, "patcher: unknown option -x" + hint, usage.c_str(), false},
        {"a b c d", "", 2, "too many arguments from d" + hint, usage.c_str(), false},
        {"'' patch.ips out.bin", "", 2, "patcher: empty file name" + hint, unasked.c_str(), false},
        {"image.bin patch.ips ''", "", 2, "empty file name", unasked.c_str(), false},
        {"image.bin image.bin", "", 2, "two images", unasked.c_str(), false},
        // Pipes are read once, whole: both files through FIFOs give the exact bytes.
        {"-f patch.fifo image.fifo out.bin", "", 0, "Unrecognized patch", "cannot", true},
        {"/dev/zero patch.ips new.bin", "", 0, "too large and will be truncated", "cannot", false},
        {"/proc/self patch.ips new.bin", "", 1, "cannot read /proc/self: Is a directory", "two", false},
        {"image.bin patch.ips out.bin", "\r\n\r\nyes\r\n", 0, replace, "File name", true}, // CR LF lines
        {"patch.ips patch.ips", "", 2, "two patches", unasked.c_str(), false},
        // A folder named at a prompt is refused there; with standard error closed, no prompt may
        // land in a file the program opens later.
        {"patch.ips", "wdir\nimage.bin\n\n\nout.bin\ny\n", 0, "Not a regular file: wdir\n", "Load IPS", true},
        {"image.bin patch.ips", "\n\nwdir/\nout.bin\ny\n", 0, "Not a regular file: wdir/\n", "", true},
        {"image.bin patch.ips out.bin 2>&-", "\n\ny\n", 0, "", "", true},
        // Archives in either order stand for the files they hold; after an image, one is the patch.
        {"-f image.zip patch.zip out.bin", "", 0, "Unrecognized patch", "File name", true},
        {"-f patch.zip image.bin.gz out.bin", "", 0, "Unrecognized patch", "File name", true},
        {"image.bin image.zip", "\n\n", 1, "no IPS patch. It holds:\n\nimage.bin\n", "two images", false},
        {"--help image.bin", "", 0, usage, unasked.c_str(), false},
        {"--version", "", 0, "patcher " PATCHER_VERSION "\n", unasked.c_str(), false},
    };
    bytes image(0x40000), old(5, 'o');
    for (size_t i = 0; i < image.size(); i++)
        image[i] = static_cast<uint8_t>(i * 97 >> 5);
    bytes patched = image;
    patched[0x10] = 0x99;
    for (const command_case &c : cases) {
        std::string folder = make_temp_folder(), io = make_temp_folder();
        write_bytes(folder + "/image.bin", image);
        write_bytes(folder + "/patch.ips", make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99}));
        write_bytes(folder + "/out.bin", old);
        std::filesystem::create_directory(folder + "/wdir");
        if (std::string(c.arguments).find(".zip") != std::string::npos) // zip and gzip's own tools
            std::system(("cd '" + folder + "' && zip -q image.zip image.bin && zip -q patch.zip patch.ips && "
                         "gzip -k image.bin").c_str());
        for (const char *name : {"image", "patch"})
            if (std::string(c.arguments).find(std::string(name) + ".fifo") != std::string::npos)
                std::system(("cd '" + folder + "' && mkfifo " + name + ".fifo && (cat " + name +
                             (name[0] == 'i' ? ".bin" : ".ips") + " >" + name + ".fifo &)").c_str());
        start_program(std::string(PATCHER_EXE) + " " + c.arguments, folder, c.input, io, "-u DISPLAY");
        EXPECT_EQ(finish_program(io), c.status) << c.arguments;
        const std::string said = text_file(io + "/err") + text_file(io + "/out");
        EXPECT_NE(said.find(c.said), std::string::npos) << c.arguments << ":\n" << said;
        EXPECT_TRUE(!*c.not_said || said.find(c.not_said) == std::string::npos) << c.arguments << said;
        EXPECT_EQ(read_bytes(folder + "/out.bin"), c.writes ? patched : old) << c.arguments;
        remove_tree(folder);
        remove_tree(io);
    }
}
