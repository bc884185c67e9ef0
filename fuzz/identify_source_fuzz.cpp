// identify_source_fuzz.cpp -- a loaded file through normalize_target and, when what is left is long
// enough, identify_source, as the driver hands it on, then is_already_patched and verify_result
//
// normalize_target looks only at the loaded bytes (they end where their heap block ends) and hands
// back a working image that lies inside them behind nothing or a 256- or 512-byte header; a
// refused file leaves a length of 0. identify_source stops (-1), leaves the patch to the user (0)
// or loads a row's patch file whole, and every box it shows has one of the program's titles. An
// image with a patched result's signature is refused before any row; verify_result, on the same
// image, is silent for a current result, shows one box for an outdated one, and for one that no
// list holds shows the unknown-patch box and fills the clipboard. byte_sum agrees with the
// sum of that one pass.
//
// Input: a flags byte (bits 0-1: the rows' patch files in the current folder unless 0; bits 2-3:
// a signature to force on the working image, 1 a CRC-32 and 2 a byte sum; bit 4: the file starts
// as a catalogue row's own image; bit 5: identification's checksums by SSE rather than the fastest
// way, while the portable loops, many times slower under the sanitizers, are left to the unit
// tests), that signature (4 bytes), the loaded length (4 bytes: as it stands up to 0x400200, else
// from 256 KiB to past the boot-disk block at 0x7C800; with bit 4, the row counted from 0, modulo
// the rows), then the file's fill byte (not with bit 4) and chunks (see make_image).
// The seeds carry catalogue signatures, lengths and rows; comparison tracing hands the fuzzer the
// rest, and fuzz/identify_source.dict the cartridge header fields.
#include "harness.h"
#include "identify/identify_source.h"
#include "identify/title_catalogue.h"
#include "prepare/normalize_target.h"
#include "support/catalogue_images.h"
#include "workflow/carry_out_verdict.h"
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
    static std::vector<bytes> rows(title_catalogue_rows); // each built the first time it is asked for
    bytes &row = rows[raw % title_catalogue_rows];
    if (flags & 0x10 && row.empty())
        row = image_for_rule(title_catalogue[raw % title_catalogue_rows]);
    // Lengths up to the longest row's behind a copier header (longer ones cost more than they find);
    // the rest fall from 256 KiB to past the boot-disk block.
    const uint32_t loaded = flags & 0x10 ? row.size()
                            : raw <= 0x400200 ? raw : smallest_image + raw % 0x41000;
    uint8_t *file = make_image(loaded, target_capacity, in, flags & 0x10 ? row.data() : nullptr);
    uint32_t length = loaded;
    script_reset();
    uint8_t *work = normalize_target(file, &length);
    check(work ? work + length == file + loaded && (work - file) % 256 == 0 && work - file <= 512 : !length);
    if (length < smallest_image) { // the driver refuses it before identification
        script_reset();
        return 0;
    }
    force_signature(work, length, flags >> 2 & 3, signature);
    std::filesystem::current_path(flags & 3 ? with : without); // where a row's patch is looked up
    checksum_use_path(flags & 0x20 ? checksum_path_sse : checksum_path_count); // count: the fastest
    const verdict source = identify_source(work, length, &built_in_source_catalogue);
    const int32_t result = carry_out_verdict(&source);
    checksum_use_path(checksum_path_count); // the other passes the fastest way
    std::filesystem::current_path(home);
    const image_signature signature_now = image_signatures(work, length);
    const int32_t patched = is_already_patched(signature_now, &built_in_result_signatures);
    // The sum alone agrees with the one pass that identification made.
    const uint32_t sum = signature_now.sum;
    check((result == -1 || result == 0 || (flags & 3 && result == 100)) && (!patched || result == -1) &&
          byte_sum(work, length) == sum);
    script_reset();
    const verdict result_verdict = verify_result(work, length, &built_in_result_signatures);
    const int32_t saved = carry_out_verdict(&result_verdict) + 1;
    check((saved == 0 || saved == 1) && script_events().size() == size_t(saved ? 2 - 2 * patched : 1));
    script_reset(); // frees what the run kept: the fuzzer hunts leaks after any run that keeps some
    return 0;
}
