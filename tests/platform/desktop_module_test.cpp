// desktop_module_test.cpp -- GTK's libraries are loaded into the program only when there is a
// display: the dynamic loader names every file it loads (LD_DEBUG=files) in a run that ends at its
// first prompt.
#include "support/scenario.h"

#include <gtest/gtest.h>

// What a run said on standard error, started with display ("": none) and no input.
static std::string run_said(const std::string &display)
{
    const std::string folder = make_temp_folder();
    const std::string env = "-u WAYLAND_DISPLAY -u DISPLAY LD_DEBUG=files";
    start_program(PATCHER_EXE, folder, "", folder, display.empty() ? env : env + " DISPLAY=" + display);
    finish_program(folder);
    const std::string said = text_file(folder + "/err");
    remove_tree(folder);
    EXPECT_NE(said.find("Load file to be patched\nFile name (*): "), std::string::npos) << said;
    return said;
}

TEST(desktop_module, is_loaded_only_when_there_is_a_display)
{
    EXPECT_EQ(run_said("").find("libgtk-3"), std::string::npos);
    // A display that names no server: the module beside the program is loaded, then refused.
    const std::string tried = run_said(":9999");
    EXPECT_NE(tried.find("/patcher-gtk.so"), std::string::npos);
    EXPECT_NE(tried.find("libgtk-3"), std::string::npos);
}
