// save_patched_file_test.cpp -- what the save does with names that are not a plain new file: it
// replaces a plain file or a link's target whole and keeps its mode, owner and group, leaves
// other files alone, and refuses a read-only file, a link it cannot follow and anything it could
// only replace by swapping the node itself, saying why
#include "support/temp_folder.h"
#include "host/host_services.h"
#include "support/platform_scripted.h"
#include "workflow/save_patched_file.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Each case: shell commands that make the folder ("image" holds the bytes to be saved), the name
// chosen, whether the save succeeds ("1") or is refused ("0") and the reason then given, and shell
// commands that must then succeed.
const std::string n255 = std::string(251, 'n') + ".bin"; // the longest name a folder allows
const std::string n255_check = "cmp image " + n255 + " && [ $(ls | wc -l) = 2 ]";
const std::string deep = "ln -s $(printf './%.0s' $(seq 2040))later.bin deep.bin"; // too long to join
const char *const cases[][4] = {
    {"echo old >f.bin && chmod 640 f.bin && chown nobody:daemon f.bin", "f.bin", "1",
     "cmp image f.bin && [ $(stat -c %a%U%G f.bin) = 640nobodydaemon ]"},
    {"echo old >ro.bin && chmod 444 ro.bin", "ro.bin", "0: Permission denied",
     "[ $(cat ro.bin) = old ] && [ $(ls | wc -l) = 2 ]"},
    {"echo old >real.bin && ln -s real.bin link.bin", "link.bin", "1", 
     "[ -L link.bin ] && cmp image real.bin"},
    {"ln -s later.bin dangling.bin", "dangling.bin", "1", "[ -L dangling.bin ] && cmp image later.bin"},
    {"for n in $(seq -w 0 99); do echo $n >out.bin.patcher-$n.tmp; done", "out.bin", "1",
     "cmp image out.bin && [ $(cat out.bin.patcher-99.tmp) = 99 ] && [ $(ls | wc -l) = 102 ]"},
    {"true", n255.c_str(), "1", n255_check.c_str()},
    {"mkfifo pipe.bin", "pipe.bin", "0: Invalid argument", "[ -p pipe.bin ] && [ $(ls | wc -l) = 2 ]"},
    {"mkfifo pipe.bin && ln -s pipe.bin link.bin", "link.bin", "0: Invalid argument",
     "[ -p pipe.bin ] && [ -L link.bin ]"},
    {"mkdir d.bin", "d.bin", "0: Is a directory", "[ -d d.bin ] && [ $(ls | wc -l) = 2 ]"},
    {"ln -s loop.bin loop.bin", "loop.bin", "0: Too many levels of symbolic links", "[ $(ls | wc -l) = 2 ]"},
    {deep.c_str(), "deep.bin", "0: File name too long", "[ $(ls | wc -l) = 2 ]"},
};

} // namespace

TEST(safe_save, replaces_a_file_or_a_link_target_and_refuses_what_is_no_plain_file)
{
    const bytes image(4096, 0x3C);
    for (const auto &c : cases) {
        working_folder folder;
        write_bytes("image", image);
        ASSERT_EQ(std::system(c[0]), 0) << c[0];
        script_reset();
        script_answer(c[1]);
        testing::internal::CaptureStderr();
        const int32_t saved = save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
        const std::string said = testing::internal::GetCapturedStderr(), reason = c[2] + 1;
        EXPECT_EQ(std::to_string(saved) + (saved ? "" : said.substr(said.rfind(':'), reason.size())), c[2]);
        EXPECT_EQ(said.find('\n'), saved ? std::string::npos : said.size() - 1) << said; // one line
        EXPECT_EQ(script_transcript().back() == "box|Error|Error writing file", !saved) << c[0];
        EXPECT_EQ(script_events()[0].filter, std::string("*.bin\0*.bin\0\0", 13).append(27, '\0'));
        EXPECT_EQ(std::system(c[3]), 0) << c[0] << " / " << c[3];
    }
}
