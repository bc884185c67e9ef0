// folder_test.h -- a test fixture with a fresh folder and a freshly reset scripted back end
#ifndef PATCHER_TESTS_FOLDER_TEST_H
#define PATCHER_TESTS_FOLDER_TEST_H

#include "support/temp_folder.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

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

#endif
