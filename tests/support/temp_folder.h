// temp_folder.h -- a fresh folder per test, and whole-file helpers for building inputs
#ifndef PATCHER_TESTS_TEMP_FOLDER_H
#define PATCHER_TESTS_TEMP_FOLDER_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using bytes = std::vector<uint8_t>;

// Creates an empty folder under the system's temporary folder and returns its path.
std::string make_temp_folder();
void remove_tree(const std::string &path);

void write_bytes(const std::string &path, const bytes &data);
bytes read_bytes(const std::string &path);

// Names of the entries of a folder, sorted.
std::vector<std::string> folder_entries(const std::string &path);

// Builds a patch: "PATCH", the given record bytes, "EOF".
bytes make_patch(const bytes &records);

// A fresh folder, the current directory for as long as it lives: the catalogue's patches are
// looked up in the current directory, so runs start in their folder.
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
