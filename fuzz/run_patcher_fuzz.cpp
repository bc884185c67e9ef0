// run_patcher_fuzz.cpp -- whole runs with target and patch bytes, dialog answers and stream faults
// chosen by the fuzzer: no crash, and a file changes only when the run ends in a save with result 1
//
// Input layout (every field is taken modulo what it selects from):
//   0       answers: bits 0-1 the target, 2-3 the patch, 4-6 the save name (tables below), bit 7 a
//           large target (one that reaches the boot-disk block at 0x7C800)
//   1       the stream fault's kind (none when past the last kind)
//   2       the fault's countdown in bits 0-5 (plus 1), persistent when bit 7 is set
//   3..4    the target's length, little-endian, within a window around the interesting lengths
//   5..6    the number of bytes that follow for the target's first bytes, little-endian
//   7       the byte that fills the target behind those
//   8..     the target's first bytes, then the patch file's bytes (all the rest)
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"
#include "workflow/stream_faults.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using bytes = std::vector<uint8_t>;

const size_t header_length = 8;
const uint32_t small_window = 0x3FE00; // 0x3FE00..0x403FF: around the 0x40000 minimum, with the
const uint32_t small_span = 0x600;     // lengths that carry a 256- or 512-byte header
const uint32_t large_window = 0x7C000; // 0x7C000..0x7CFFF: around the end of the boot-disk block
const uint32_t large_span = 0x1000;
const uint32_t header_sizes[] = {0, 256, 512}; // what preparation may strip from the front

const bytes old_bytes(100, 0x0B); // what old.bin holds before every run
const bytes inside_bytes = {1, 2, 3}; // the file inside folder.bin

enum file_answer { answer_cancel, answer_target, answer_patch, answer_missing, answer_old,
                   answer_out, answer_folder, answer_missing_folder };

const file_answer target_answers[4] = {answer_cancel, answer_target, answer_missing, answer_patch};
const file_answer patch_answers[4] = {answer_cancel, answer_patch, answer_missing, answer_target};
const file_answer save_answers[8] = {answer_cancel, answer_out,    answer_old,
                                     answer_folder, answer_missing_folder, answer_target,
                                     answer_patch,  answer_cancel};

// The titles of every box the program can show.
const std::set<std::string> box_titles = {"Error", "User error", "Warning",
                                          "Unrecognized source file", "Unrecognized patch"};

std::string folder;

std::string at(const char *name)
{
    return folder + "/" + name;
}

std::string name_of(file_answer answer)
{
    switch (answer) {
    case answer_target: return at("target.bin");
    case answer_patch: return at("patch.ips");
    case answer_missing: return at("nothere.bin");
    case answer_old: return at("old.bin");
    case answer_out: return at("out.bin");
    case answer_folder: return at("folder.bin");
    case answer_missing_folder: return at("missing/out.bin");
    default: return "";
    }
}

// Puts data in the file, overwriting in place and cutting to length: emptying a file on a memory
// file system and filling it again would spend most of a run on freeing and clearing pages.
void write_all(const std::string &path, const bytes &data)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0 || pwrite(fd, data.data(), data.size(), 0) != static_cast<ssize_t>(data.size()) ||
        ftruncate(fd, static_cast<off_t>(data.size())) != 0 || close(fd) != 0)
        std::abort(); // the harness's own folder is broken: nothing below would mean anything
}

// Reads a whole file into data, whose storage is kept from run to run: fresh allocations of a
// quarter MiB every run would spend most of the time in page faults.
bool read_all(const std::string &path, bytes &data)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    data.resize(data.capacity() > large_window + large_span ? data.capacity()
                                                            : large_window + large_span + 1);
    size_t got = std::fread(data.data(), 1, data.size(), f);
    data.resize(got);
    std::fclose(f);
    return true;
}

std::set<std::string> entries()
{
    std::set<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        std::abort();
    while (dirent *e = readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.insert(e->d_name);
    closedir(dir);
    return names;
}

void remove_folder()
{
    std::remove(at("folder.bin/inside").c_str());
    std::remove(at("folder.bin").c_str());
    for (const std::string &name : entries())
        std::remove(at(name.c_str()).c_str());
    rmdir(folder.c_str());
}

// A folder of its own in memory where there is one, since every run writes a whole image.
void make_folder()
{
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/patcher-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    folder = pattern;
    mkdir(at("folder.bin").c_str(), 0755);
    write_all(at("folder.bin/inside"), inside_bytes);
    std::atexit(remove_folder);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (folder.empty())
        make_folder();
    if (size < header_length)
        return 0;

    bool large = data[0] & 0x80;
    file_answer target_answer = target_answers[data[0] & 3];
    file_answer patch_answer = patch_answers[(data[0] >> 2) & 3];
    file_answer save_answer = save_answers[(data[0] >> 4) & 7];
    uint32_t fault_kind = data[1];
    uint32_t fault_n = 1 + (data[2] & 0x3F);
    int32_t fault_persists = (data[2] & 0x80) != 0;
    uint32_t length_code = data[3] | data[4] << 8;
    size_t head_length = data[5] | data[6] << 8;
    uint8_t filler = data[7];
    size_t rest = size - header_length;
    if (head_length > rest)
        head_length = rest;
    uint32_t target_length = large ? large_window + length_code % large_span
                                   : small_window + length_code % small_span;
    if (head_length > target_length)
        head_length = target_length;

    static bytes target, patch, now;
    target.assign(target_length, filler);
    std::memcpy(target.data(), data + header_length, head_length);
    patch.assign(data + header_length + head_length, data + size);

    // The same folder for every run: the inputs, an old file, a folder, and nothing else.
    // What the files hold from the run before is known unless that run saved over one of them.
    static bytes target_on_disk, patch_on_disk;
    static bool target_known = false, patch_known = false;
    if (!target_known || target != target_on_disk) {
        write_all(at("target.bin"), target);
        target_on_disk = target;
        target_known = true;
    }
    if (!patch_known || patch != patch_on_disk) {
        write_all(at("patch.ips"), patch);
        patch_on_disk = patch;
        patch_known = true;
    }
    write_all(at("old.bin"), old_bytes);
    std::remove(at("out.bin").c_str());
    const std::set<std::string> before = entries();

    script_reset();
    for (file_answer answer : {target_answer, patch_answer, save_answer})
        script_answer(name_of(answer));
    if (fault_kind < fault_kind_count)
        fault_arm(static_cast<stream_fault_kind>(fault_kind), fault_n, fault_persists);
    // Identification looks for a title's patch by its bare name in the current folder: the run's
    // own, where no such file is, rather than wherever the fuzzer was started (whose relative
    // corpus paths need it back afterwards).
    static char started_in[4096];
    if (!getcwd(started_in, sizeof started_in) || chdir(folder.c_str()) != 0)
        std::abort();
    int32_t result = run_patcher();
    fault_clear();
    if (chdir(started_in) != 0)
        std::abort();

    if (result != 0 && result != 1)
        std::abort();
    bool saved = result == 1;
    std::string saved_name = saved ? name_of(save_answer) : "";
    target_known = target_known && !(saved && save_answer == answer_target);
    patch_known = patch_known && !(saved && save_answer == answer_patch);

    // Nothing is left behind, nothing appears but a saved out.bin.
    std::set<std::string> expected = before;
    if (saved && save_answer == answer_out)
        expected.insert("out.bin");
    if (entries() != expected)
        std::abort();

    // Every file that was not saved to is exactly as it was.
    struct check { file_answer answer; const bytes *was; };
    for (check c : {check{answer_target, &target}, check{answer_patch, &patch},
                    check{answer_old, &old_bytes}}) {
        if (saved && save_answer == c.answer)
            continue;
        if (!read_all(name_of(c.answer), now) || now != *c.was)
            std::abort();
    }
    if (!read_all(at("folder.bin/inside"), now) || now != inside_bytes)
        std::abort();

    // A save wrote the whole working image: the target less any header preparation stripped.
    if (saved) {
        if (!read_all(saved_name, now))
            std::abort();
        bool whole = false;
        for (uint32_t header : header_sizes)
            whole = whole || now.size() + header == target.size();
        if (!whole)
            std::abort();
    }

    // Every box has one of the program's titles; a save that failed said so last.
    const std::vector<script_event> &events = script_events();
    bool asked_to_save = false;
    for (const script_event &e : events) {
        if (e.kind == "box" && box_titles.count(e.title) == 0)
            std::abort();
        asked_to_save = asked_to_save || e.kind == "save";
    }
    bool failed_save = asked_to_save && !saved && save_answer != answer_cancel;
    if (failed_save != (!events.empty() && events.back().kind == "box" &&
                        events.back().text == "Error writing file"))
        std::abort();
    return 0;
}
