// identify_end_to_end_test.cpp -- the built program meets a recognised, a refused, a handed-over
// and an unknown source, driven through standard input as a user would
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

class identified_terminal_run : public terminal_test {
protected:
    void write_source(const bytes &source) { write_bytes(path("game.bin"), source); }

    // Writes 0x55 at 0x20, where no row keeps a stored byte.
    bytes patch = make_patch({0x00, 0x00, 0x20, 0x00, 0x01, 0x55});
    static bytes patched(bytes image)
    {
        image[0x20] = 0x55;
        return image;
    }
};

TEST_F(identified_terminal_run, a_recognised_disk_loads_its_patch_by_name_and_saves_as_dsk)
{
    const bytes source = image_for_rule(title_catalogue[13]); // a disk saved as "*.dsk"
    write_source(source);
    write_bytes(path("Morwenna Jap-Eng Translation.ips"), patch);
    terminal_outcome o = run("game.bin\n\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, ask_target + unrecognised_result_lines(patched(source)) +
                         "Save patched file\nFile name (*.dsk): ");
    EXPECT_EQ(read_bytes(path("result.dsk")), patched(source));
}

TEST_F(identified_terminal_run, a_refused_source_shows_why_and_nothing_follows)
{
    write_source(image_for_rule(title_catalogue[5]));
    terminal_outcome o = run("game.bin\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.err, ask_target +
                         "Error\nThis is the Japanese ROM. You need the American version." +
                         press_enter);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"game.bin"});
}

TEST_F(identified_terminal_run, a_handed_over_source_goes_straight_to_the_patch_prompt)
{
    write_source(image_for_rule(title_catalogue[28]));
    terminal_outcome o = run("game.bin\n");
    EXPECT_EQ(o.err, ask_target + ask_patch);
    EXPECT_EQ(o.out, "");
}

TEST_F(identified_terminal_run, an_unknown_source_shows_its_box_then_its_crc_then_the_patch_prompt)
{
    bytes source(0x40000, 0x11);
    force_crc(source, 0x0001F00D);
    write_source(source);
    write_bytes(path("fix.ips"), patch);
    terminal_outcome o = run("game.bin\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.err, ask_target + "Unrecognized source file\n" + unrecognised_source_text +
                         press_enter + "Copied to clipboard: 0x0001F00D\n" + ask_patch +
                         unrecognised_result_lines(patched(source)) + ask_save);
    EXPECT_EQ(read_bytes(path("result.bin")), patched(source));
}

} // namespace
