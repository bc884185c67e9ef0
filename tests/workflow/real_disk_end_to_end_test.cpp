// real_disk_end_to_end_test.cpp -- the built program saving onto folders and disks that refuse it
//
// Root writes into folders without write permission, so as root the read-only folder and the full
// disk are small tmpfs mounts made in a private mount namespace; as any other user the folder's
// permissions do. Where neither is possible the test says so and is skipped.
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string no_mount =
    "needs a private mount namespace (unshare -m, mount -t tmpfs) to give root a read-only or full "
    "disk, and this machine does not allow one";
const std::string write_error = "Error\nError writing file\nPress Enter to continue.\n";
const uint32_t image_length = 0x40000; // the smallest image the program patches

class real_disk : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_temp_folder();
        image = bytes(image_length, 0x2E);
        write_bytes(folder + "/game.bin", image);
        write_bytes(folder + "/fix.ips", make_patch({0x00, 0x00, 0x40, 0x00, 0x01, 0x77}));
        mkdir((folder + "/disk").c_str(), 0755);
    }
    void TearDown() override
    {
        chmod((folder + "/disk").c_str(), 0755);
        remove_tree(folder);
    }

    // Runs the program with the answers that save under name (with a 'y' when it exists), the
    // setup commands first, and watches the folder "disk". The empty lines close the boxes about
    // the unrecognised source and the unrecognised result.
    program_outcome save_as(const std::string &name, bool replace, const std::string &setup,
                            bool private_mounts)
    {
        program_run run;
        run.exe = PATCHER_EXE;
        run.folder = folder;
        run.input = "game.bin\n\nfix.ips\n\n" + name + "\n" + (replace ? "y\n" : "") + "\n";
        run.setup = setup;
        run.watch = folder + "/disk";
        run.private_mounts = private_mounts;
        return run_program(run);
    }

    std::string folder;
    bytes image;
    const bytes old_bytes = bytes(3000, 0x01);
};

void expect_refused(const program_outcome &o)
{
    ASSERT_TRUE(o.started) << o.err;
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find(write_error), std::string::npos) << o.err;
}

struct refusal_case {
    const char *name;
    const char *answer;
    bool replace; // the name exists, so the program asks first
};

void PrintTo(const refusal_case &c, std::ostream *os)
{
    *os << c.name;
}

const refusal_case refusals[] = {
    {"replacing_a_file", "disk/old.bin", true},
    {"creating_a_file", "disk/new.bin", false},
};

class real_disk_refuses : public real_disk, public testing::WithParamInterface<refusal_case> {};

TEST_P(real_disk_refuses, a_read_only_folder_keeps_its_file_and_gains_none)
{
    const refusal_case &c = GetParam();
    program_outcome o;
    if (geteuid() != 0) {
        write_bytes(folder + "/disk/old.bin", old_bytes);
        chmod((folder + "/disk").c_str(), 0555);
        o = save_as(c.answer, c.replace, "", false);
    } else {
        if (!can_mount_privately())
            GTEST_SKIP() << no_mount;
        std::string setup = "mount -t tmpfs -o size=1m tmpfs disk || exit 91\n"
                            "head -c 3000 /dev/zero | tr '\\0' '\\1' >disk/old.bin || exit 92\n"
                            "mount -o remount,ro disk || exit 93\n";
        o = save_as(c.answer, c.replace, setup, true);
    }
    expect_refused(o);
    EXPECT_EQ(o.watched_names, std::vector<std::string>{"old.bin"});
    EXPECT_EQ(o.watched["old.bin"], old_bytes);
}

TEST_P(real_disk_refuses, a_full_disk_keeps_its_file_and_leaves_no_temporary_file)
{
    const refusal_case &c = GetParam();
    if (!can_mount_privately())
        GTEST_SKIP() << no_mount;
    // 128 KiB holds the old file but not the 256 KiB image.
    std::string setup = "mount -t tmpfs -o size=128k tmpfs disk || exit 91\n"
                        "head -c 3000 /dev/zero | tr '\\0' '\\1' >disk/old.bin || exit 92\n";
    program_outcome o = save_as(c.answer, c.replace, setup, true);
    expect_refused(o);
    EXPECT_EQ(o.watched_names, std::vector<std::string>{"old.bin"});
    EXPECT_EQ(o.watched["old.bin"], old_bytes);
}

INSTANTIATE_TEST_SUITE_P(both, real_disk_refuses, testing::ValuesIn(refusals),
                         [](const testing::TestParamInfo<refusal_case> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(real_disk, a_full_disk_that_has_room_enough_takes_the_save)
{
    // The counterpart of the full-disk refusal: the same mount, large enough, saves normally.
    if (!can_mount_privately())
        GTEST_SKIP() << no_mount;
    std::string setup = "mount -t tmpfs -o size=1m tmpfs disk || exit 91\n";
    program_outcome o = save_as("disk/new.bin", false, setup, true);
    ASSERT_TRUE(o.started) << o.err;
    EXPECT_EQ(o.exit_code, 0);
    EXPECT_EQ(o.err.find("Error"), std::string::npos) << o.err;
    bytes patched = image;
    patched[0x40] = 0x77;
    EXPECT_EQ(o.watched["new.bin"], patched);
    EXPECT_EQ(o.watched_names, std::vector<std::string>{"new.bin"});
}

TEST_F(real_disk, a_save_name_that_is_a_folder_leaves_the_folder_as_it_was)
{
    mkdir((folder + "/disk/kept.bin").c_str(), 0755);
    write_bytes(folder + "/disk/kept.bin/inside", bytes{4, 5});
    program_outcome o = save_as("disk/kept.bin", true, "", false);
    expect_refused(o);
    EXPECT_EQ(o.watched_names, std::vector<std::string>{"kept.bin"});
    EXPECT_EQ(read_bytes(folder + "/disk/kept.bin/inside"), (bytes{4, 5}));
    EXPECT_EQ(folder_entries(folder + "/disk/kept.bin"), std::vector<std::string>{"inside"});
}

TEST_F(real_disk, a_name_in_a_missing_folder_creates_nothing)
{
    program_outcome o = save_as("disk/missing/out.bin", false, "", false);
    expect_refused(o);
    EXPECT_TRUE(o.watched_names.empty());
}

} // namespace
