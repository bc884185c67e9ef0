// stream_faults_test.cpp -- every open, read, write, flush, close and rename made to fail in turn
//
// Each loop raises N from 1 until the armed fault no longer fires, once with a fault that happens a
// single time and once with one that persists. After every fault the chosen name must hold exactly
// its old bytes (or still be absent) or exactly the new image, no temporary file may be left, and
// "Error writing file" must have been shown exactly when the save failed.
#include "support/temp_folder.h"
#include "workflow/host_services.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"
#include "workflow/stream_faults.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const std::string write_error = "box|Error|Error writing file";
const uint32_t loop_limit = 50; // far more calls of one kind than any run makes

struct fault_case {
    const char *name;
    stream_fault_kind kind;
    bool persistent;
};

const fault_case fault_cases[] = {
    {"open_once", fault_open, false},
    {"open_persistent", fault_open, true},
    {"read_once", fault_read, false},
    {"read_persistent", fault_read, true},
    {"write_once", fault_write, false},
    {"write_persistent", fault_write, true},
    {"short_write_once", fault_short_write, false},
    {"short_write_persistent", fault_short_write, true},
    {"flush_once", fault_flush, false},
    {"flush_persistent", fault_flush, true},
    {"close_once", fault_close, false},
    {"close_persistent", fault_close, true},
    {"rename_once", fault_rename, false},
    {"rename_persistent", fault_rename, true},
};

// Test names and failure reports show the case by its name.
void PrintTo(const fault_case &c, std::ostream *os)
{
    *os << c.name;
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

class stream_faults : public testing::TestWithParam<fault_case> {
protected:
    void SetUp() override { folder = make_temp_folder(); }
    void TearDown() override
    {
        fault_clear();
        remove_tree(folder);
    }
    std::string path(const char *name) const { return folder + "/" + name; }

    // The name holds the new bytes or the old ones (absent when there were none), and the folder
    // holds nothing it did not hold before but that name.
    void expect_whole(const std::string &name, const bytes *old, const bytes &now, bool saved,
                      const std::vector<std::string> &entries_before, const std::string &where)
    {
        if (saved)
            EXPECT_EQ(read_bytes(path(name.c_str())), now) << where;
        else if (old)
            EXPECT_EQ(read_bytes(path(name.c_str())), *old) << where;
        else
            EXPECT_FALSE(file_exists(path(name.c_str()))) << where;
        std::vector<std::string> expected = entries_before;
        if (saved && !old)
            expected.push_back(name);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(folder_entries(folder), expected) << where << ": a temporary file was left";
    }

    std::string folder;
};

TEST_P(stream_faults, save_leaves_old_bytes_or_the_new_image_and_no_temporary_file)
{
    const fault_case &c = GetParam();
    const bytes image = image_of(0x3000);
    const bytes old_bytes = bytes(100, 0xA5);
    for (bool had_old : {false, true}) {
        int failures = 0;
        uint32_t n = 1;
        for (; n <= loop_limit; n++) {
            std::string where = std::string(had_old ? "replacing" : "creating") + ", N=" +
                                std::to_string(n);
            remove_tree(folder);
            folder = make_temp_folder();
            if (had_old)
                write_bytes(path("out.bin"), old_bytes);
            std::vector<std::string> before = folder_entries(folder);
            script_reset();
            script_answer(path("out.bin"));
            fault_arm(c.kind, n, c.persistent);
            int32_t saved = save_patched_file(image.data(), static_cast<uint32_t>(image.size()), "*.bin");
            uint32_t hits = fault_hits();
            fault_clear();
            expect_whole("out.bin", had_old ? &old_bytes : nullptr, image, saved == 1, before, where);
            EXPECT_EQ(count_of(script_transcript(), write_error), saved ? 0 : 1) << where;
            if (!saved)
                failures++;
            if (hits == 0) {
                EXPECT_EQ(saved, 1) << where << ": nothing failed, yet the save did";
                break;
            }
        }
        EXPECT_LE(n, loop_limit) << "the fault kept firing";
        // A save makes no reads; every other kind of call lies on its way and must be able to fail it.
        if (c.kind != fault_read) {
            EXPECT_GT(failures, 0) << "no fault of this kind ever reached the save";
        }
    }
}

TEST_P(stream_faults, whole_run_writes_the_patched_image_or_nothing)
{
    const fault_case &c = GetParam();
    // Large enough that a target read cut in half still passes the minimum-size test.
    const bytes image = image_of(0x90000);
    const bytes patch = make_patch({0x00, 0x02, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33});
    bytes patched = image;
    patched[0x200] = 0x11;
    patched[0x201] = 0x22;
    patched[0x202] = 0x33;
    const bytes old_bytes = bytes(64, 0x5A);
    int failures = 0;
    uint32_t n = 1;
    for (; n <= loop_limit; n++) {
        std::string where = "N=" + std::to_string(n);
        write_bytes(path("game.bin"), image);
        write_bytes(path("fix.ips"), patch);
        write_bytes(path("out.bin"), old_bytes);
        std::vector<std::string> before = folder_entries(folder);
        script_reset();
        for (const char *answer : {"game.bin", "fix.ips", "out.bin"})
            script_answer(path(answer));
        fault_arm(c.kind, n, c.persistent);
        int32_t saved = run_patcher();
        uint32_t hits = fault_hits();
        fault_clear();
        expect_whole("out.bin", &old_bytes, patched, saved == 1, before, where);
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
            EXPECT_EQ(saved, 1) << where;
            break;
        }
    }
    EXPECT_LE(n, loop_limit) << "the fault kept firing";
    EXPECT_GT(failures, 0) << "no fault of this kind ever reached the run";
}

INSTANTIATE_TEST_SUITE_P(every_fault_point, stream_faults, testing::ValuesIn(fault_cases),
                         [](const testing::TestParamInfo<fault_case> &info) {
                             return std::string(info.param.name);
                         });

class stream_fault_regressions : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_temp_folder();
        script_reset();
    }
    void TearDown() override
    {
        fault_clear();
        remove_tree(folder);
    }
    std::string path(const char *name) const { return folder + "/" + name; }
    std::string folder;
};

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
