// run_patcher_fuzz.cpp -- whole runs from a command line, with the target, the patch, the dialog
// answers and a stream fault chosen by the fuzzer: a file changes only when the run ends in a save
// with result 1 (or fails only to open or sync the folder after it), a save holds the whole working
// image, every box has one of the program's titles, and a command line that asks for no run changes
// nothing and shows nothing
//
// Input: the command line (a byte: bits 0-2 the count of words that follow, one byte each, from
// words below; bit 3 no back end at all, so that boxes go nowhere and every question is declined;
// bit 4 "yes" to the question before an output named on the command line is replaced; bit 5 a
// CRC-32 forced on the target, 4 bytes after the words, so that catalogue rows hold), the answers
// (bits 0-1 the target, 2-3 the patch, 4-6 the save name, from names below; bit 7 a target long
// enough to reach the boot-disk block at 0x7C800), the stream fault (2 bytes: their value modulo
// one more than the kinds is its kind, the last none; bits 8-13 its countdown less one; bit 14 set
// when the clipboard fails too; bit 15 set when it persists), the target's length in its window (2
// bytes), the patch's length (2 bytes) and bytes, then the target's fill byte and chunks (see
// make_image). A dialog that a named file takes the place of gets no answer.
#include "harness.h"
#include "workflow/command_line.h"
#include "host/files/file_system.h"
#include "workflow/patcher_storage.h"
#include "host/platform.h"
#include "workflow/run_patcher.h"
#include "host/files/fault_points.h"

#include <csignal>
#include <map>

// What the dialogs are answered with: "" cancels; new.bin and the folder missing/ are not there,
// old.bin may not be written, "." is the folder itself, and link.bin a link to chain.bin, a link to
// new.bin by its full name: a save through them makes new.bin.
const char *const names[] = {"",        "target.bin", "patch.ips",       "new.bin",
                             "old.bin", ".",          "missing/new.bin", "link.bin"};
// What a command line is made of, named from the run's own folder, where no row's patch is: besides
// options and those names, live.bin is a link to old.bin, loop.bin a link to itself, none.bin is not
// there, big.ips is a patch one byte longer than a patch may be, and a name too long for any dialog.
const std::string words[] = {"--",       "-f",       "--force",  "-h",       "--version",
                             "-q",       "-",        "target.bin", "patch.ips", "new.bin",
                             "old.bin",  "link.bin", "live.bin", "loop.bin", "big.ips",
                             "missing/new.bin", "--help", "none.bin", ".", std::string(path_capacity, 'n')};
const uint32_t big_size = patch_capacity + 1;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto at = [](std::string_view name) { return name.empty() ? "" : scratch() + "/" + std::string(name); };
    std::string_view in(reinterpret_cast<const char *>(data), size);
    const uint32_t command = take(in, 1);
    const char *argv[8] = {"patcher"};
    int argc = 1;
    while (argc <= int(command & 7))
        argv[argc++] = words[take(in, 1) % std::size(words)].c_str();
    const uint32_t crc = command & 0x20 ? take(in, 4) : 0;
    const uint32_t answers = take(in, 1), fault = take(in, 2), window = take(in, 2);
    const std::string_view patch = in.substr(0, take(in, 2));
    in.remove_prefix(patch.size());
    // Lengths around the 256 KiB minimum with either header, or around the boot-disk block's end;
    // 0x7D000 bytes hold the longest.
    const uint32_t length = answers & 0x80 ? 0x7C000 + window % 0x1000 : 0x3FE00 + window % 0x600;
    uint8_t *image = make_image(length, 0x7D000, in);
    if (command & 0x20)
        force_crc(image, length, crc);
    std::map<std::string, std::string_view> files = {{at("patch.ips"), patch}, {at("old.bin"), "old"},
        {at("target.bin"), {reinterpret_cast<char *>(image), length}}};
    // What the last run saved goes (new.bin, or "-q" after "--"); the links and big.ips stay.
    for (const std::filesystem::path &file : std::filesystem::directory_iterator(scratch()))
        if (!std::filesystem::is_symlink(file) && !files.count(file) && file != at("big.ips"))
            std::filesystem::remove(file);
    std::error_code later; // every run but the first, which starts the file system as the program
    std::filesystem::create_symlink("chain.bin", at("link.bin"), later); // does and makes the rest
    if (!later) {
        std::freopen("/dev/null", "w", stdout); // where --help and --version go
        std::signal(SIGHUP, SIG_IGN); // as nohup starts a program: it must stay ignored
        start_file_system();
        check(std::signal(SIGHUP, SIG_IGN) == SIG_IGN);
        std::filesystem::create_symlink(at("new.bin"), at("chain.bin"));
        std::filesystem::create_symlink("old.bin", at("live.bin"));
        std::filesystem::create_symlink("loop.bin", at("loop.bin"));
        std::ofstream(at("old.bin")) << "old";
        std::filesystem::permissions(at("old.bin"), std::filesystem::perms::owner_read); // refused
    }
    for (const auto &[name, bytes] : files)
        std::ofstream(name, std::ios::binary) << bytes;
    std::error_code none;
    if (std::filesystem::file_size(at("big.ips"), none) != big_size) { // new, or saved over: sparse
        std::ofstream(at("big.ips"), std::ios::binary) << "PATCH";
        std::filesystem::resize_file(at("big.ips"), big_size);
    }
    script_reset();
    std::filesystem::current_path(scratch()); // names are read from here, a row's patch looked up
    const command_outcome outcome = read_command_line(argc, const_cast<char **>(argv));
    const std::string saved = given.output ? at(given.output) : at(names[answers >> 4 & 7]);
    const std::string written = saved == at("link.bin")   ? at("new.bin") // where a save lands
                                : saved == at("live.bin") ? at("old.bin")
                                                          : saved;
    script_clipboard_fails(fault >> 14 & 1);
    const int32_t asked[] = {!given.image, !given.patch, !given.output};
    for (int32_t i = 0; i < 3; i++)
        if (asked[i])
            script_answer(i == 2 ? saved : at(names[answers >> 2 * i & 3]));
    if (command & 0x10)
        script_answer("yes");
    if (command & 8)
        platform_use(nullptr);
    const int kind = fault % (fault_kind_count + 1);
    if (kind == fault_kind_count)
        fault_clear();
    else
        fault_arm(fault_kind(kind), 1 + (fault >> 8 & 0x3F), fault >> 15);
    const int32_t result = outcome == command_outcome::run ? run_patcher() : 0;
    std::filesystem::current_path(home);
    // Every file is as it was but a saved one, which holds the whole working image: the target less
    // any header preparation stripped. Nothing goes missing, and nothing else appears. A folder that
    // cannot be opened or synced fails the run after the rename, with the new file in place.
    const bool after_rename =
        kind == int(fault_kind::folder_open) || kind == int(fault_kind::folder_sync);
    const bool renamed = result == 1 || (after_rename && fault_hits());
    static std::string bytes; // one block for every file read: fresh ones cost page faults
    for (const std::filesystem::path &file : std::filesystem::directory_iterator(scratch())) {
        if (std::filesystem::is_symlink(file))
            continue; // a save goes through the links and leaves them links
        const bool saved_here = renamed && file == written;
        if (file == at("big.ips") && !saved_here) {
            check(std::filesystem::file_size(file) == big_size);
            continue;
        }
        bytes.resize(std::filesystem::file_size(file));
        std::ifstream(file, std::ios::binary).read(bytes.data(), bytes.size());
        const size_t cut = length - bytes.size();
        const auto was = files.extract(file); // what this run wrote there, if anything
        check(saved_here ? cut % 256 == 0 && cut <= 512 : was && was.mapped() == bytes);
    }
    check(files.empty() && (result == 0 || (result == 1 && std::filesystem::is_regular_file(saved))) &&
          (outcome == command_outcome::run || script_events().empty()));
    script_reset(); // frees what the run kept: the fuzzer hunts leaks after any run that keeps some
    return 0;
}
