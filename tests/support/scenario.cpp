// scenario.cpp -- reads the scenario table and builds the files its runs start from
#include "support/scenario.h"
#include "identify/catalogue_data.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

const uint32_t smallest_image = 0x40000; // the smallest working image the patcher takes
const uint32_t patched_offset = 0x10;    // the byte the scenarios' patch sets: no row tests it
const uint8_t patched_value = 0x99;

bytes file_of_kind(const std::string &kind)
{
    bytes unknown(smallest_image, 'U');
    if (kind == "unknown")
        return unknown;
    if (kind == "small")
        return bytes(smallest_image - 1, 'U');
    if (kind == "known_bad") {
        force_crc(unknown, known_bad_source_crcs[0]);
        return unknown;
    }
    if (kind == "row1")
        return image_for_rule(title_catalogue[0]);
    if (kind == "patch")
        return make_patch({0x00, 0x00, patched_offset, 0x00, 0x01, patched_value});
    if (kind == "past_end")
        return make_patch({0x03, 0xFF, 0xFF, 0x00, 0x02, 0xAB, 0xCD});
    if (kind == "text")
        return {'a', 'n', ' ', 'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
    EXPECT_EQ(kind, "empty") << "no such kind of file";
    return {};
}

std::string trimmed(const std::string &text)
{
    size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// Splits "a | b | c" into its trimmed fields.
std::vector<std::string> fields(const std::string &text)
{
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        size_t bar = text.find('|', start);
        parts.push_back(trimmed(text.substr(start, bar - start)));
        if (bar == std::string::npos)
            return parts;
        start = bar + 1;
    }
}

// A box text as the user reads it: \n made a line end, a $NAME replaced by its text.
std::string box_text(std::string text, const std::map<std::string, std::string> &texts)
{
    if (text[0] == '$')
        text = texts.at(text.substr(1));
    for (size_t at; (at = text.find("\\n")) != std::string::npos;)
        text.replace(at, 2, "\n");
    return text;
}

// The bytes "FILE" or "FILE+patch" stands for.
bytes bytes_of(const scenario &s, std::string ref)
{
    bool patched = ref.size() > 6 && ref.compare(ref.size() - 6, 6, "+patch") == 0;
    if (patched)
        ref.resize(ref.size() - 6);
    for (const auto &file : s.files)
        if (file.first == ref) {
            bytes b = file.second;
            if (patched)
                b.at(patched_offset) = patched_value;
            return b;
        }
    ADD_FAILURE() << s.name << ": no file " << ref;
    return {};
}

} // namespace

std::vector<scenario> load_scenarios()
{
    std::ifstream in(SCENARIO_TABLE);
    EXPECT_TRUE(in) << "cannot read " SCENARIO_TABLE;
    std::vector<scenario> all;
    std::map<std::string, std::string> texts;
    for (std::string line; std::getline(in, line);) {
        size_t space = line.find(' ');
        std::string word = line.substr(0, space), rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (word.empty() || word[0] == '#')
            continue;
        if (word == "text") {
            size_t equals = rest.find(" = ");
            texts[rest.substr(0, equals)] = rest.substr(equals + 3);
            continue;
        }
        if (word == "scenario") {
            all.push_back({rest, {}, {}, {}});
            continue;
        }
        EXPECT_FALSE(all.empty()) << line;
        scenario &s = all.back();
        std::vector<std::string> f = fields(rest);
        if (word == "file") {
            space = rest.find(' ');
            s.files.push_back({rest.substr(space + 1), file_of_kind(rest.substr(0, space))});
        } else if ((word == "open" || word == "save") && f.size() == 3) {
            s.steps.push_back({word, f[0], f[1], f[2], ""});
        } else if (word == "replace" && (rest == "yes" || rest == "no")) {
            s.steps.push_back({word, "", "", rest, ""});
        } else if (word == "box" && f.size() == 2) {
            s.steps.push_back({word, f[0], "", "", box_text(f[1], texts)});
        } else if (word == "clipboard") {
            s.steps.push_back({word, "", "", "", crc_text(zlib_crc32(bytes_of(s, rest)))});
        } else if (word == "saved") {
            space = rest.find(' ');
            s.saved.push_back({rest.substr(0, space), bytes_of(s, rest.substr(space + 1))});
        } else {
            ADD_FAILURE() << "not understood: " << line;
        }
    }
    EXPECT_GT(all.size(), 5u) << "the table lost its scenarios";
    return all;
}

void write_scenario_files(const scenario &s, const std::string &folder)
{
    for (const auto &file : s.files)
        write_bytes(folder + "/" + file.first, file.second);
}

std::string folder_problems(const scenario &s, const std::string &folder)
{
    std::map<std::string, bytes> expected(s.files.begin(), s.files.end());
    for (const auto &file : s.saved)
        expected[file.first] = file.second;
    std::string problems;
    std::vector<std::string> names = folder_entries(folder);
    for (const std::string &name : names)
        if (!expected.count(name))
            problems += "unexpected file " + name + "; ";
    for (const auto &file : expected)
        if (!file_exists(folder + "/" + file.first))
            problems += "missing " + file.first + "; ";
        else if (read_bytes(folder + "/" + file.first) != file.second)
            problems += "wrong bytes in " + file.first + "; ";
    return problems;
}

bool declined_save(const scenario &s, size_t step)
{
    return s.steps[step].kind == "save" && step + 1 < s.steps.size() &&
           s.steps[step + 1].kind == "replace" && s.steps[step + 1].answer == "no";
}
