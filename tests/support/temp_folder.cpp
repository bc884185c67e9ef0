// temp_folder.cpp -- a fresh folder per test, and whole-file helpers for building inputs
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

std::string make_temp_folder()
{
    static std::mt19937_64 random_names{std::random_device{}()};
    fs::path folder;
    do // a name already taken is simply passed over
        folder = fs::temp_directory_path() / ("patcher-test-" + std::to_string(random_names()));
    while (!fs::create_directory(folder));
    return folder.string();
}

void remove_tree(const std::string &path)
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void write_bytes(const std::string &path, const bytes &data)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(data.data()), data.size());
}

bytes read_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> folder_entries(const std::string &path)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(path))
        names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
}

bytes make_patch(const bytes &records)
{
    bytes patch = {'P', 'A', 'T', 'C', 'H'};
    patch.insert(patch.end(), records.begin(), records.end());
    patch.insert(patch.end(), {'E', 'O', 'F'});
    return patch;
}
