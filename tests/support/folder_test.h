// folder_test.h -- a test fixture with a fresh folder and a freshly reset scripted back end
#ifndef PATCHER_TESTS_FOLDER_TEST_H
#define PATCHER_TESTS_FOLDER_TEST_H

#include "support/temp_folder.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

#include <unistd.h>

class folder_test : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_temp_folder();
        script_reset();
    }
    void TearDown() override { remove_tree(folder); }
    std::string path(const char *name) const { return folder + "/" + name; }

    std::string folder;
};

// The same, with the folder as the current directory: patches named by the catalogue are
// looked up there.
class working_folder_test : public folder_test {
protected:
    void SetUp() override
    {
        folder_test::SetUp();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override
    {
        EXPECT_EQ(chdir(previous.c_str()), 0);
        folder_test::TearDown();
    }

    std::string previous;
};

#endif
