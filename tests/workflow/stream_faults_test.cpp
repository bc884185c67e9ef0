// stream_faults_test.cpp -- every open, read, write, flush, close and rename made to fail in turn
//
// Each loop raises N from 1 until the armed fault no longer fires, once with a fault that happens a
// single time and once with one that persists. After every fault the chosen name must hold exactly
// its old bytes (or still be absent) or exactly the new image, no temporary file may be left, and
// "Error writing file" must have been shown exactly when the save failed.
#include "support/folder_test.h"
#include "workflow/host_services.h"
#include "workflow/run_patcher.h"
#include "workflow/stream_faults.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const std::string write_error = "box|Error|Error writing file";
const uint32_t loop_limit = 50; // far more calls of one kind than any run makes

struct fault_point {
    const char *name;
    stream_fault_kind kind;
};

const fault_point fault_points[] = {{"open", fault_open},   {"read", fault_read},
                                    {"write", fault_write}, {"short_write", fault_short_write},
                                    {"flush", fault_flush}, {"close", fault_close},
                                    {"rename", fault_rename}};

void PrintTo(const fault_point &p, std::ostream *os)
{
    *os << p.name;
}

// An image whose bytes are not all alike, so that a cut or shifted copy shows.
bytes image_of(uint32_t length)
{
    bytes image(length);
    for (uint32_t i = 0; i < length; i++)
        image[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    return image;
}

int count_of(const std::vector<std::string> &lines, const std::string &line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class fault_test : public folder_test {
protected:
    void TearDown() override
    {
        fault_clear();
        folder_test::TearDown();
    }
};

class stream_faults : public fault_test,
                      public testing::WithParamInterface<std::tuple<fault_point, bool>> {};

TEST_P(stream_faults, a_run_writes_the_patched_image_or_leaves_the_old_bytes_and_no_temporary_file)
{
    const stream_fault_kind kind = std::get<0>(GetParam()).kind;
    const bool persistent = std::get<1>(GetParam());
    // Large enough that a target read cut in half still passes the minimum-size test.
    const bytes image = image_of(0x90000);
    const bytes patch = make_patch({0x00, 0x02, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33});
    bytes patched = image;
    patched[0x200] = 0x11;
    patched[0x201] = 0x22;
    patched[0x202] = 0x33;
    const bytes old_bytes = bytes(64, 0x5A);
    for (bool had_old : {false, true}) {
        int failures = 0;
        uint32_t n = 1;
        for (; n <= loop_limit; n++) {
            std::string where = std::string(had_old ? "replacing" : "creating") + ", N=" + std::to_string(n);
            write_bytes(path("game.bin"), image);
            write_bytes(path("fix.ips"), patch);
            remove_tree(path("out.bin"));
            if (had_old)
                write_bytes(path("out.bin"), old_bytes);
            std::vector<std::string> before = folder_entries(folder);
            script_reset();
            for (const char *answer : {"game.bin", "fix.ips", "out.bin"})
                script_answer(path(answer));
            fault_arm(kind, n, persistent);
            int32_t saved = run_patcher();
            uint32_t hits = fault_hits();
            fault_clear();

            if (saved || had_old) {
                EXPECT_EQ(read_bytes(path("out.bin")), saved ? patched : old_bytes) << where;
            }
            if (saved && !had_old)
                before.insert(std::upper_bound(before.begin(), before.end(), "out.bin"), "out.bin");
            EXPECT_EQ(folder_entries(folder), before) << where << ": a temporary file was left";
            EXPECT_EQ(read_bytes(path("game.bin")), image) << where;
            std::vector<std::string> lines = script_transcript();
            bool reached_save = count_of(lines, "save|Save patched file|*.bin") == 1;
            EXPECT_EQ(count_of(lines, write_error), reached_save && !saved ? 1 : 0) << where;
            if (!saved) {
                failures++;
                // Every failure was told: as a load error, or as the write error at the save.
                EXPECT_EQ(lines.back().rfind("box|Error|", 0), 0u) << where;
            }
            if (hits == 0) {
                EXPECT_EQ(saved, 1) << where << ": nothing failed, yet the run did";
                break;
            }
        }
        EXPECT_LE(n, loop_limit) << "the fault kept firing";
        EXPECT_GT(failures, 0) << "no fault of this kind ever reached the run";
    }
}

INSTANTIATE_TEST_SUITE_P(every_fault_point, stream_faults,
                         testing::Combine(testing::ValuesIn(fault_points), testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<fault_point, bool>> &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_persistent" : "_once");
                         });

using stream_fault_regressions = fault_test;

TEST_F(stream_fault_regressions, a_read_that_breaks_off_loads_nothing_rather_than_a_cut_file)
{
    write_bytes(path("game.bin"), image_of(0x1000));
    static uint8_t buffer[0x1000];
    fault_arm(fault_read, 1, 0);
    EXPECT_EQ(load_file(path("game.bin").c_str(), buffer, sizeof buffer), 0u);
    EXPECT_EQ(fault_hits(), 1u);
    EXPECT_TRUE(script_events().empty());
}

TEST_F(stream_fault_regressions, a_cut_read_of_the_target_stops_the_run_before_the_save)
{
    write_bytes(path("game.bin"), image_of(0x90000));
    write_bytes(path("fix.ips"), make_patch({}));
    for (const char *answer : {"game.bin", "fix.ips", "out.bin"})
        script_answer(path(answer));
    fault_arm(fault_read, 1, 0);
    EXPECT_EQ(run_patcher(), 0);
    EXPECT_FALSE(file_exists(path("out.bin")));
    EXPECT_EQ(script_transcript().back(), "box|Error|File size is too small or error loading file");
}

} // namespace
