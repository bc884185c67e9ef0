// identify_source_fuzz.cpp -- a loaded file through normalize_target and, when what is left is long
// enough, identify_source, as the driver hands it on
//
// normalize_target looks only at the loaded bytes (they end where their heap block ends) and hands
// back a working image that lies inside them behind nothing or a 256- or 512-byte header; a
// refused file leaves a length of 0. identify_source stops (-1), leaves the patch to the user (0)
// or loads a row's patch file whole, and every box it shows has one of the program's titles.
//
// Input: a flags byte (bits 0-1: the rows' patch files in the current folder unless 0; bits 2-3:
// a signature to force on the working image, 1 a CRC-32 and 2 a byte sum), that signature (4
// bytes), the loaded length (4 bytes: as it stands up to the driver's capacity, else from 256 KiB
// to past the boot-disk block at 0x7C800), then the file's fill byte and chunks (see make_image).
// The seeds carry catalogue signatures and lengths; comparison tracing hands the fuzzer the rest.
#include "fuzz/harness.h"
#include "identify/identify_source.h"
#include "identify/title_catalogue.h"
#include "prepare/normalize_target.h"
#include "workflow/patcher_storage.h"

const uint32_t smallest_image = 0x40000; // the driver refuses anything shorter

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string without = scratch(), with = without + "/with";
    // Every row's patch file holds 100 bytes, so that a result tells that one was loaded whole.
    if (std::filesystem::create_directory(with))
        for (uint32_t i = 0; i < title_catalogue_rows; i++)
            if (const char *name = title_catalogue[i].outcome.patch_name) // only rows that load one
                std::ofstream(with + "/" + name) << std::string(100, 'p');
    std::string_view in(reinterpret_cast<const char *>(data), size);
    const uint32_t flags = take(in, 1), signature = take(in, 4), raw = take(in, 4);
    // Any length the driver can load; the rest fall from 256 KiB to past the boot-disk block.
    const uint32_t loaded = raw <= target_capacity ? raw : smallest_image + raw % 0x41000;
    uint8_t *file = make_image(loaded, target_capacity, in);
    uint32_t length = loaded;
    script_reset();
    uint8_t *work = normalize_target(file, &length);
    check(work ? work + length == file + loaded && (work - file) % 256 == 0 && work - file <= 512 : !length);
    // The driver refuses a shorter image before identification; nothing is forced on it either.
    force_signature(work, length, length < smallest_image ? 0 : flags >> 2 & 3, signature);
    std::filesystem::current_path(flags & 3 ? with : without); // where a row's patch is looked up
    const int32_t result = length < smallest_image ? 0 : identify_source(work, length);
    std::filesystem::current_path(home);
    check(result == -1 || result == 0 || (flags & 3 && result == 100));
    return 0;
}
