// working_folder.h -- a fresh folder, the current directory for as long as it lives
#ifndef PATCHER_TESTS_WORKING_FOLDER_H
#define PATCHER_TESTS_WORKING_FOLDER_H

#include "support/temp_folder.h"

#include <filesystem>

// The catalogue's patches are looked up in the current directory, so runs start in their folder.
struct working_folder {
    std::string path = make_temp_folder();
    std::filesystem::path previous = std::filesystem::current_path();
    working_folder() { std::filesystem::current_path(path); }
    ~working_folder()
    {
        std::filesystem::current_path(previous);
        remove_tree(path);
    }
};

#endif
