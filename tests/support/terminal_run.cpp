// terminal_run.cpp -- runs the built program in a test folder, answering it through standard input
#include "support/terminal_run.h"
#include "support/crc_forge.h"
#include "support/expected_boxes.h"

#include <cstdlib>
#include <sys/wait.h>

namespace {

std::string text_of(const bytes &b)
{
    return std::string(b.begin(), b.end());
}

} // namespace

terminal_outcome run_in_terminal(const std::string &folder, const std::string &input)
{
    // The answers and the captured output live in a folder of their own, out of the listings.
    std::string io = make_temp_folder();
    write_bytes(io + "/in", bytes(input.begin(), input.end()));
    std::string command = "cd '" + folder + "' && '" PATCHER_EXE "' <'" + io + "/in' >'" + io +
                          "/out' 2>'" + io + "/err'";
    int status = std::system(command.c_str());
    terminal_outcome o = {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                          text_of(read_bytes(io + "/out")), text_of(read_bytes(io + "/err"))};
    remove_tree(io);
    return o;
}

std::string unrecognised_result_lines(const bytes &result)
{
    return "Unrecognized patch\n" + unrecognised_patch_text + press_enter +
           "Copied to clipboard: " + crc_text(zlib_crc32(result)) + "\n";
}

std::string unrecognised_source_lines(const bytes &source)
{
    return "Unrecognized source file\n" + unrecognised_source_text + press_enter +
           "Copied to clipboard: " + crc_text(zlib_crc32(source)) + "\n";
}
