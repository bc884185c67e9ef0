// save_whole_file_test.cpp -- the file and the folder a save syncs, and a signal in the middle of a
// save with a named temporary file
#include "support/temp_folder.h"
#include "host/files/fault_points.h"
#include "host/files/file_system.h"
#include "host/host_services.h"

#include <csignal>
#include <gtest/gtest.h>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool synced(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && fault_was_synced(info.st_dev, info.st_ino);
}

} // namespace

// Saved into a folder other than the current one, new or over an old file, through an unnamed
// temporary file or a named one: the new file and its own folder reach the disk.
TEST(save_whole_file, syncs_the_saved_file_and_the_folder_that_holds_it)
{
    const std::string away = make_temp_folder(), path = away + "/out.bin";
    const uint8_t image[] = {1, 2, 3};
    for (int variant = 0; variant < 4; variant++) {
        SCOPED_TRACE(variant);
        remove_tree(path);
        if (variant & 1)
            write_bytes(path, bytes(5, 9));
        fault_clear();
        if (variant & 2)
            fault_arm(fault_kind::temp_unnamed, 1, 1);
        EXPECT_EQ(save_whole_file(path.c_str(), image, sizeof image, 1), save_result::written);
        EXPECT_EQ(read_bytes(path), bytes(image, image + sizeof image));
        EXPECT_TRUE(synced(path)) << "the file's bytes";
        EXPECT_TRUE(synced(away)) << "the folder's entry";
    }
    fault_clear();
    remove_tree(away);
}

// A name that was free when chosen is only ever created: a file that takes it in the meantime is
// left alone, unless the save may replace it.
TEST(save_whole_file, does_not_replace_a_file_that_appeared_meanwhile)
{
    working_folder folder;
    const uint8_t image[] = {1, 2, 3};
    fault_observe([](fault_kind kind) {
        if (kind == fault_kind::rename)
            write_bytes("out.bin", bytes(2, 7)); // another program's, just before the rename
    });
    for (int32_t may_replace : {0, 1}) {
        remove_tree("out.bin");
        EXPECT_EQ(save_whole_file("out.bin", image, sizeof image, may_replace),
                  may_replace ? save_result::written : save_result::name_taken);
        EXPECT_EQ(read_bytes("out.bin"), may_replace ? bytes(image, image + 3) : bytes(2, 7));
        EXPECT_EQ(folder_entries(folder.path), std::vector<std::string>{"out.bin"});
    }
    fault_observe(nullptr);
}

// Any signal that ends the program while the named temporary file is being written removes it
// first; the old file stays as it was. (Crashes are left to the sanitizers in test builds.)
TEST(save_whole_file, a_signal_in_the_middle_removes_the_named_temporary_file)
{
    working_folder folder;
    const bytes old_bytes(7, 0x5A);
    write_bytes("out.bin", old_bytes);
    static int signal_number;
    for (int each : {SIGHUP, SIGINT, SIGQUIT, SIGTRAP, SIGABRT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM,
                     SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO, SIGSYS, SIGSTKFLT, SIGPWR}) {
        signal_number = each;
        const pid_t child = fork();
        if (child == 0) {
            const struct rlimit no_core = {0, 0};
            setrlimit(RLIMIT_CORE, &no_core);
            start_file_system();
            fault_arm(fault_kind::temp_unnamed, 1, 1); // a named temporary file, as without O_TMPFILE
            fault_observe([](fault_kind kind) {
                if (kind == fault_kind::write && folder_entries(".").size() == 2) // it is there
                    std::raise(signal_number);
            });
            const uint8_t image[] = {1, 2, 3};
            save_whole_file("out.bin", image, sizeof image, 1);
            _exit(3); // the signal never came, or did not end the program
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == each) << strsignal(each) << ": " << status;
        EXPECT_EQ(folder_entries(folder.path), std::vector<std::string>{"out.bin"}) << strsignal(each);
        EXPECT_EQ(read_bytes("out.bin"), old_bytes);
    }
}
