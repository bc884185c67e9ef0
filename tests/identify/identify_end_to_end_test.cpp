// identify_end_to_end_test.cpp -- the built program meets a recognised and a refused source, driven
// through standard input as a user would
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/terminal_run.h"

#include <gtest/gtest.h>

namespace {

using identified_terminal_run = terminal_test;

TEST_F(identified_terminal_run, a_recognised_disk_loads_its_patch_by_name_and_saves_as_dsk)
{
    const bytes source = image_for_rule(title_catalogue[13]); // a disk saved as "*.dsk"
    write_bytes(path("game.bin"), source);
    // Writes 0x55 at 0x20, where no row keeps a stored byte.
    write_bytes(path("Morwenna Jap-Eng Translation.ips"),
                make_patch({0x00, 0x00, 0x20, 0x00, 0x01, 0x55}));
    bytes patched = source;
    patched[0x20] = 0x55;
    program_outcome o = run("game.bin\n\nresult\n");
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err,
              ask_target + unrecognised_result_lines(patched) + "Save patched file\nFile name (*.dsk): ");
    EXPECT_EQ(read_bytes(path("result.dsk")), patched);
}

TEST_F(identified_terminal_run, a_refused_source_shows_why_and_nothing_follows)
{
    write_bytes(path("game.bin"), image_for_rule(title_catalogue[5]));
    program_outcome o = run("game.bin\n\nfix.ips\n\nresult\n");
    EXPECT_EQ(o.err,
              ask_target + "Error\nThis is the Japanese ROM. You need the American version." + press_enter);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"game.bin"});
}

} // namespace
