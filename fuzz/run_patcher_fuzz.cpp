// run_patcher_fuzz.cpp -- whole runs with the target, the patch, the dialog answers and a stream
// fault chosen by the fuzzer: a file changes only when the run ends in a save with result 1 (or
// fails only to sync the folder after it), a save holds the whole working image, and every box has
// one of the program's titles
//
// Input: the answers (bits 0-1 the target, 2-3 the patch, 4-6 the save name, from names below;
// bit 7 a target long enough to reach the boot-disk block at 0x7C800), the stream fault (2 bytes:
// their value modulo one more than the kinds is its kind, the last none; bits 8-13 its countdown
// less one; bit 14 set when the clipboard fails too; bit 15 set when it persists), the target's
// length in its window (2 bytes), the patch's length (2 bytes) and bytes, then the target's fill
// byte and chunks (see make_image).
#include "fuzz/harness.h"
#include "workflow/file_system.h"
#include "workflow/run_patcher.h"
#include "workflow/stream_faults.h"

#include <map>

// What the dialogs are answered with: "" cancels; new.bin and the folder missing/ are not there,
// old.bin may not be written, "." is the folder itself, and link.bin a link to chain.bin, a link to
// new.bin by its full name: a save through them makes new.bin.
const char *const names[] = {"",        "target.bin", "patch.ips",       "new.bin",
                             "old.bin", ".",          "missing/new.bin", "link.bin"};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto at = [](const char *name) { return *name ? scratch() + "/" + name : ""; };
    std::string_view in(reinterpret_cast<const char *>(data), size);
    const uint32_t answers = take(in, 1), fault = take(in, 2), window = take(in, 2);
    const std::string_view patch = in.substr(0, take(in, 2));
    in.remove_prefix(patch.size());
    // Lengths around the 256 KiB minimum with either header, or around the boot-disk block's end;
    // 0x7D000 bytes hold the longest.
    const uint32_t length = answers & 0x80 ? 0x7C000 + window % 0x1000 : 0x3FE00 + window % 0x600;
    std::map<std::string, std::string_view> files = {{at("patch.ips"), patch}, {at("old.bin"), "old"},
        {at("target.bin"), {reinterpret_cast<char *>(make_image(length, 0x7D000, in)), length}}};
    std::filesystem::remove(at("new.bin"));
    std::error_code later; // every run but the first, which starts the file system as the program
    std::filesystem::create_symlink("chain.bin", at("link.bin"), later); // does and makes the rest
    if (!later) {
        start_file_system();
        std::filesystem::create_symlink(at("new.bin"), at("chain.bin"));
        std::ofstream(at("old.bin")) << "old";
        std::filesystem::permissions(at("old.bin"), std::filesystem::perms::owner_read); // refused
    }
    for (const auto &[name, bytes] : files)
        std::ofstream(name, std::ios::binary) << bytes;
    const std::string saved = at(names[answers >> 4 & 7]);
    const std::string written = saved == at("link.bin") ? at("new.bin") : saved; // where a save lands
    script_reset();
    script_clipboard_fails(fault >> 14 & 1);
    for (const std::string &answer : {at(names[answers & 3]), at(names[answers >> 2 & 3]), saved})
        script_answer(answer);
    // Arming a fault disarms the last run's; fault_kind_count names no call, so it arms none.
    fault_arm(stream_fault_kind(fault % (fault_kind_count + 1)), 1 + (fault >> 8 & 0x3F), fault >> 15);
    std::filesystem::current_path(scratch()); // a row's patch is looked up here, and none is here
    const int32_t result = run_patcher();
    std::filesystem::current_path(home);
    // Every file is as it was but a saved one, which holds the whole working image: the target less
    // any header preparation stripped. Nothing goes missing, and nothing else appears. A folder that
    // cannot be synced fails the run after the rename, with the new file in place.
    const bool renamed =
        result == 1 || (fault % (fault_kind_count + 1) == fault_sync_folder && fault_hits());
    static std::string bytes; // one block for every file read: fresh ones cost page faults
    for (const std::filesystem::path &file : std::filesystem::directory_iterator(scratch())) {
        if (std::filesystem::is_symlink(file))
            continue; // a save goes through the links and leaves them links
        bytes.resize(std::filesystem::file_size(file));
        std::ifstream(file, std::ios::binary).read(bytes.data(), bytes.size());
        const size_t cut = length - bytes.size();
        const auto was = files.extract(file); // what this run wrote there, if anything
        check(renamed && file == written ? cut % 256 == 0 && cut <= 512 : was && was.mapped() == bytes);
    }
    check(files.empty() && (result == 0 || (result == 1 && std::filesystem::is_regular_file(saved))));
    script_reset(); // frees what the run kept: the fuzzer hunts leaks after any run that keeps some
    return 0;
}
