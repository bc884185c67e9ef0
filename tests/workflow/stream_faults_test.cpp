// stream_faults_test.cpp -- every open, seek, read, write, flush, naming, close, rename and folder
// sync made to fail in turn, down to the calls of the file system, and a clipboard that cannot be
// opened
//
// Each loop raises N from 1 until the armed fault no longer fires, once with a fault that happens a
// single time and once with one that persists, creating the output and replacing an old one. After
// every fault the chosen name holds exactly its old bytes (or is still absent) or exactly the new
// image, nothing else is left in the folder, and the run told the user exactly when it failed. A
// file whose size cannot be found is read to its end all the same, and a save without an unnamed
// temporary file makes a named one, so those faults fail no run.
#include "support/temp_folder.h"
#include "host/host_services.h"
#include "support/platform_scripted.h"
#include "workflow/run_patcher.h"
#include "host/files/fault_points.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(stream_faults, a_run_writes_the_whole_image_or_leaves_the_folder_as_it_was)
{
    working_folder folder;
    bytes image(0x90000); // a target read cut in half still passes the size test
    for (size_t i = 0; i < image.size(); i++)
        image[i] = static_cast<uint8_t>(i * 7 + (i >> 9)); // a cut or shifted copy shows
    bytes patched = image, old_bytes(64, 0x5A);
    patched[0x200] = 0x11;
    write_bytes("game.bin", image);
    write_bytes("fix.ips", make_patch({0x00, 0x02, 0x00, 0x00, 0x01, 0x11}));
    for (int variant = 0; variant < 4 * fault_kind_count; variant++) {
        const fault_kind kind = fault_kind(variant / 4);
#if defined(_WIN32) || defined(__EMSCRIPTEN__) // no unnamed file here, so no link to name it
        if (kind == fault_kind::link)
            continue;
#endif
#ifdef _WIN32 // nor a folder to sync: MoveFileEx syncs the move itself
        if (kind == fault_kind::temp_unnamed || kind == fault_kind::folder_open ||
            kind == fault_kind::folder_sync)
            continue;
#endif
        const int persistent = variant & 1, had_old = variant & 2;
        int failures = 0;
        uint32_t n = 1;
        for (; n <= 50; n++) { // far more calls of one kind than any run makes
            SCOPED_TRACE("fault " + std::to_string(variant) + ", N=" + std::to_string(n));
            remove_tree("out.bin");
            if (had_old)
                write_bytes("out.bin", old_bytes);
            script_reset();
            for (const char *answer : {"game.bin", "fix.ips", "out.bin"})
                script_answer(answer);
            fault_arm(kind, n, persistent);
            testing::internal::CaptureStderr();
            const int32_t saved = run_patcher();
            const std::string said = testing::internal::GetCapturedStderr();
            const uint32_t hits = fault_hits();
            fault_clear();
            const std::vector<std::string> shown = script_transcript(), left = folder_entries(folder.path);
            EXPECT_EQ(left.size(), saved || had_old ? 3u : 2u) << "a temporary file was left";
            EXPECT_EQ(read_bytes("out.bin"), saved ? patched : had_old ? old_bytes : bytes());
            // A folder that cannot be synced once the file is in place is said, and the save holds.
#ifndef __EMSCRIPTEN__ // Node.js's file system cannot lend standard error to the test
            const bool after = kind == fault_kind::folder_open || kind == fault_kind::folder_sync;
            EXPECT_EQ(said.find("out.bin written, but its folder could not be synced") != std::string::npos,
                      after && hits > 0) << said;
#endif
            EXPECT_EQ(read_bytes("game.bin"), image);
            // Every failure is told: the write error once the save was reached, a load error before.
            const bool at_save = std::count(shown.begin(), shown.end(), "save|Save patched file|*.bin") == 1;
            EXPECT_EQ(shown.back() == "box|Error|Error writing file", at_save && !saved);
            EXPECT_TRUE(saved || shown.back().rfind("box|Error|", 0) == 0) << "a failure not told";
            failures += !saved;
            if (hits == 0) {
                EXPECT_EQ(saved, 1) << "nothing failed, yet the run did";
                break;
            }
        }
        EXPECT_LE(n, 50u) << "the fault kept firing";
        EXPECT_GT(n, 1u) << "fault " << variant << " never fired: no run reaches its point";
        const bool harmless = kind == fault_kind::seek || kind == fault_kind::temp_unnamed ||
                              kind == fault_kind::folder_open || kind == fault_kind::folder_sync;
        EXPECT_EQ(failures > 0, !harmless) << "fault " << variant << " and the runs it failed";
    }
}

// A clipboard that cannot be opened gets the line on standard output, and no box.
TEST(stream_faults, a_clipboard_that_cannot_be_opened_gets_the_line_on_standard_output)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "Node.js's file system cannot lend standard output to the test";
#endif
    script_reset();
    script_clipboard_fails(true);
    testing::internal::CaptureStdout();
    copy_text_to_clipboard("0x12345678");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error opening clipboard\n");
    EXPECT_EQ(script_transcript(), std::vector<std::string>{});
}
