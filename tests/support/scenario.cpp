// scenario.cpp -- reads the scenario table, builds the files its runs start from, and starts the
// built program
#include "support/scenario.h"
#include "identify/catalogue_data.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"
#include "workflow/patcher_storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>

namespace {

const uint32_t smallest_image = 0x40000; // the smallest working image the patcher takes
const uint32_t patched_offset = 0x10;    // the byte the scenarios' patch sets: no row tests it
const uint8_t patched_value = 0x99;

// An archive of the entries, made as a user's archive is: by zip, 7-Zip or gzip, whose command
// writes it to "out" in a folder that holds the entries.
bytes archive_of(const std::string &command, const named_bytes &entries)
{
    const std::string folder = make_temp_folder();
    std::system(("mkdir '" + folder + "/__MACOSX'").c_str());
    for (const auto &entry : entries)
        write_bytes(folder + "/" + entry.first, entry.second);
    std::system(("cd '" + folder + "' && (" + command + ") >/dev/null").c_str());
    const bytes made = read_bytes(folder + "/out");
    remove_tree(folder);
    return made;
}

// The bytes of a kind of file the table names; any other name is the unknown image.
bytes file_of_kind(const std::string &kind)
{
    if (kind.rfind("zip", 0) == 0 || kind == "gz_image") {
        const bytes game = file_of_kind("unknown"), patch = file_of_kind("patch"), readme = file_of_kind("text");
        if (kind == "gz_image")
            return archive_of("gzip -c game.bin >out", {{"game.bin", game}});
        if (kind == "zip_patch") // larger than the patch capacity, with macOS's metadata beside
            return archive_of("zip -qr - __MACOSX fix.ips readme.txt title.png >out",
                              {{"__MACOSX/._fix.ips", readme}, {"fix.ips", patch}, {"readme.txt", readme},
                               {"title.png", bytes(0x100000, 'P')}});
        if (kind == "zip_two_patches")
            return archive_of("zip -q - fix.ips fix-jp.ips readme.txt >out",
                              {{"fix.ips", patch}, {"fix-jp.ips", patch}, {"readme.txt", readme}});
        bytes zip = archive_of("zip -q - game.bin >out", {{"game.bin", game}});
        if (kind == "zip_damaged")
            zip[zip.size() / 2] ^= 1;
        return zip;
    }
    bytes file(kind == "small" ? smallest_image - 1 : smallest_image, 'U');
    if (kind == "known_bad")
        force_crc(file, known_bad_source_crcs[0]);
    if (kind == "outdated") { // the scenarios' patch makes of it what an outdated patch makes
        file[patched_offset] = patched_value;
        force_crc(file, outdated_result_crcs[0]);
        file[patched_offset] = 'U';
    }
    if (kind == "row1")
        file = image_for_rule(title_catalogue[0]);
    if (kind == "patch")
        file = make_patch({0x00, 0x00, patched_offset, 0x00, 0x01, patched_value});
    if (kind == "past_end")
        file = make_patch({0x03, 0xFF, 0xFF, 0x00, 0x02, 0xAB, 0xCD});
    if (kind == "text" || kind == "empty")
        file.resize(kind == "text" ? 3 : 0);
    if (kind == "full" || kind == "oversize") { // a patch file, which the user error refuses
        file = make_patch({});
        file.resize(0x1000200 + (kind == "oversize")); // 16 MiB and a copier header: the capacity
    }
    return file;
}

// "a | b | c" as its fields.
std::vector<std::string> fields(const std::string &text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = text.find(" | ", start)) != std::string::npos; start = bar + 3)
        parts.push_back(text.substr(start, bar - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The bytes "FILE" or "FILE+patch" stands for.
bytes bytes_of(const scenario &s, const std::string &ref)
{
    const size_t plus = ref.find("+patch");
    auto named = [&](const auto &file) { return file.first == ref.substr(0, plus); };
    auto file = std::find_if(s.files.begin(), s.files.end(), named);
    EXPECT_TRUE(file != s.files.end()) << s.name << ": no file " << ref;
    bytes b = file == s.files.end() ? bytes(patched_offset + 1) : file->second;
    if (plus != std::string::npos)
        b[patched_offset] = patched_value;
    return b;
}

} // namespace

std::vector<scenario> load_scenarios()
{
    std::ifstream in(SCENARIO_TABLE);
    std::vector<scenario> all;
    std::map<std::string, std::string> texts;
    for (std::string line; std::getline(in, line);) {
        size_t space = line.find(' ');
        const std::string word = line.substr(0, space), rest = line.substr(space + 1);
        std::vector<std::string> f = fields(rest);
        size_t split = rest.find(' ');
        if (space == std::string::npos || word[0] == '#') {
            continue;
        } else if (word == "text") {
            texts[rest.substr(0, rest.find(" = "))] = rest.substr(rest.find(" = ") + 3);
        } else if (word == "scenario") {
            all.push_back({rest, {}, {}, {}});
        } else if (all.empty()) {
            ADD_FAILURE() << "before any scenario: " << line;
        } else if (word == "file") {
            all.back().files.push_back({rest.substr(split + 1), file_of_kind(rest.substr(0, split))});
        } else if ((word == "open" || word == "save") && f.size() == 3) {
            all.back().steps.push_back({word, f[0], f[1], f[2], ""});
        } else if (word == "replace" && (rest == "yes" || rest == "no")) {
            all.back().steps.push_back({word, "", "", rest, ""});
        } else if (word == "box" && f.size() == 2) {
            std::string text = f[1][0] == '$' ? texts[f[1].substr(1)] : f[1];
            for (size_t at; (at = text.find("\\n")) != std::string::npos;)
                text.replace(at, 2, "\n");
            all.back().steps.push_back({word, f[0], "", "", text});
        } else if (word == "clipboard") {
            all.back().steps.push_back({word, "", "", "", crc_text(zlib_crc32(bytes_of(all.back(), rest)))});
        } else if (word == "saved") {
            all.back().saved.push_back({rest.substr(0, split), bytes_of(all.back(), rest.substr(split + 1))});
        } else {
            ADD_FAILURE() << "not understood: " << line;
        }
    }
    EXPECT_GT(all.size(), 5u) << "the table at " SCENARIO_TABLE " lost its scenarios";
    return all;
}

void write_scenario_files(const scenario &s, const std::string &folder)
{
    for (const auto &file : s.files)
        write_bytes(folder + "/" + file.first, file.second);
}

std::string folder_problems(const scenario &s, const std::string &folder)
{
    std::map<std::string, bytes> expected(s.files.begin(), s.files.end()), found;
    for (const auto &file : s.saved)
        expected[file.first] = file.second;
    for (const std::string &name : folder_entries(folder))
        found[name] = read_bytes(folder + "/" + name);
    std::string problems;
    for (const auto *names : {&expected, &found})
        for (const auto &file : *names)
            if (expected.count(file.first) != found.count(file.first) ||
                expected[file.first] != found[file.first])
                problems += file.first + " is missing, unexpected or wrong; ";
    return problems;
}

const int time_limit = 120; // seconds: far beyond any whole run, even a sanitized one under wine

void start_program(const std::string &command, const std::string &folder, const std::string &input,
                   const std::string &io_folder, const std::string &env)
{
    write_bytes(io_folder + "/in", bytes(input.begin(), input.end()));
    std::string io = "'" + io_folder + "/"; // the tests' folders hold no quote
    const std::string limited = "timeout -s KILL " + std::to_string(time_limit) + " " + command;
    // The files come first, so that a redirection at the end of command (such as 2>&-) wins.
    std::system(("cd '" + folder + "' && (<" + io + "in' >" + io + "out' 2>" + io + "err' env " + env + " " +
                 limited + "; echo $? >" + io + "code.part' && mv " + io + "code.part' " + io + "code') &")
                    .c_str());
}

int finish_program(const std::string &io_folder)
{
    while (read_bytes(io_folder + "/code").empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int code = std::stoi(text_file(io_folder + "/code"));
    return code > 128 ? -1 : code; // the shell's way of telling that a signal ended it
}

std::string text_file(const std::string &path)
{
    bytes b = read_bytes(path);
    return std::string(b.begin(), b.end());
}
