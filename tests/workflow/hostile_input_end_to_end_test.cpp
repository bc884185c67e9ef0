// hostile_input_end_to_end_test.cpp -- the built program fed binary bytes, endless lines and input
// that stops anywhere: it always ends with exit code 0 and writes only a completed save
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

const uint32_t image_length = 0x40000; // the smallest image the program patches

class hostile_input : public terminal_test {
protected:
    void SetUp() override
    {
        terminal_test::SetUp();
        image = bytes(image_length, 0x44);
        patched = image;
        patched[0x20] = 0x99;
        write_bytes(folder + "/game.bin", image);
        write_bytes(folder + "/fix.ips", make_patch({0x00, 0x00, 0x20, 0x00, 0x01, 0x99}));
        write_bytes(folder + "/old.bin", old_bytes);
        originals = folder_entries(folder);
    }

    // Nothing was written: the folder holds what it held, and old.bin its old bytes.
    void expect_untouched(const program_outcome &o, const std::string &where)
    {
        EXPECT_TRUE(o.started) << where;
        EXPECT_EQ(o.exit_code, 0) << where;
        EXPECT_EQ(o.out, "") << where;
        EXPECT_EQ(folder_entries(folder), originals) << where;
        EXPECT_EQ(read_bytes(folder + "/old.bin"), old_bytes) << where;
        EXPECT_EQ(read_bytes(folder + "/game.bin"), image) << where;
    }

    bytes image, patched;
    const bytes old_bytes = bytes(10, 0x0F);
    std::vector<std::string> originals;
};

// Bytes of every value but the line feed, NUL among them, so no file has such a name.
std::string binary_line()
{
    std::string line;
    for (int i = 0; i < 256; i++)
        if (i != '\n')
            line += static_cast<char>(255 - i);
    return line + "\n";
}

// The prefixes of input that put each prompt in turn before a hostile answer: the target, the
// "Unrecognized source file" box, the patch, the "Unrecognized patch" box about the result, the
// save name and the replace question.
const char *const prompt_prefixes[] = {"",
                                       "game.bin\n",
                                       "game.bin\n\n",
                                       "game.bin\n\nfix.ips\n",
                                       "game.bin\n\nfix.ips\n\n",
                                       "game.bin\n\nfix.ips\n\nold.bin\n"};

TEST_F(hostile_input, binary_bytes_at_every_prompt_are_refused_or_asked_again)
{
    for (const char *prefix : prompt_prefixes) {
        program_outcome o = run(prefix + binary_line() + binary_line());
        expect_untouched(o, std::string("after ") + prefix);
    }
}

TEST_F(hostile_input, lines_far_longer_than_a_path_at_every_prompt_are_refused)
{
    const std::string long_line = std::string(1 << 20, 'A') + "\n";   // 1 MiB: no path is that long
    const std::string endless = std::string(1 << 20, 'B');            // and no line end at all
    for (const char *prefix : prompt_prefixes) {
        for (const std::string *tail : {&long_line, &endless}) {
            program_outcome o = run(prefix + *tail);
            expect_untouched(o, std::string("after ") + prefix);
        }
    }
}

TEST_F(hostile_input, input_cut_anywhere_writes_a_whole_image_or_nothing)
{
    // A last line without its line end still counts as an answer, so a cut inside the save name
    // may save under the part of the name that arrived; whatever is saved is the whole image, and
    // old.bin changes only after the 'y' that allows it. Input that ends at a prompt writes nothing.
    const std::string whole = "game.bin\n\nfix.ips\n\nold.bin\ny\n";
    const size_t yes_at = whole.find("y\n");
    for (size_t cut = 0; cut <= whole.size(); cut++) {
        std::string where = "input cut after " + std::to_string(cut) + " bytes";
        remove_tree(folder);
        SetUp();
        program_outcome o = run(whole.substr(0, cut));
        if (cut <= yes_at && (cut == 0 || whole[cut - 1] == '\n')) {
            expect_untouched(o, where);
            continue;
        }
        EXPECT_EQ(o.exit_code, 0) << where;
        EXPECT_EQ(o.out, "") << where;
        EXPECT_EQ(read_bytes(folder + "/old.bin"), cut > yes_at ? patched : old_bytes) << where;
        EXPECT_EQ(read_bytes(folder + "/game.bin"), image) << where;
        for (const std::string &name : folder_entries(folder)) {
            if (name != "old.bin" && name != "game.bin" && name != "fix.ips") {
                EXPECT_EQ(read_bytes(folder + "/" + name), patched) << where << ": " << name;
            }
        }
        EXPECT_LE(folder_entries(folder).size(), originals.size() + 1) << where;
    }
}

TEST_F(hostile_input, a_name_of_raw_bytes_without_nul_or_slash_is_saved_under_exactly_that_name)
{
    // Such bytes make a legal file name, and with ".bin" added one of the 255 bytes a name may
    // have; the save must complete under it, unchanged, whatever its temporary file is called.
    std::string name;
    for (int c = 1; c < 256; c++)
        if (c != '\n' && c != '\r' && c != '/' && c != '.')
            name += static_cast<char>(c);
    program_outcome o = run("game.bin\n\nfix.ips\n\n" + name + "\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.err.find("Error"), std::string::npos) << "the save failed";
    EXPECT_EQ(read_bytes(folder + "/" + name + ".bin"), patched);
    EXPECT_EQ(folder_entries(folder).size(), originals.size() + 1);
}

} // namespace
