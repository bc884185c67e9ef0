// run_patcher.cpp -- the patcher's whole control flow: one target, one patch, one output, forward only
#include "workflow/run_patcher.h"

#include "host/host_services.h"
#include "identify/identify_source.h"
#include "identify/verify_result.h"
#include "ips/ips_apply.h"
#include "prepare/normalize_target.h"
#include "workflow/carry_out_verdict.h"
#include "workflow/given_files.h"
#include "workflow/patcher_storage.h"
#include "workflow/place_file.h"
#include "workflow/save_patched_file.h"

namespace {

const uint32_t minimum_image_length = 0x40000; // 256 KiB: nothing smaller is a game this patches
// The patch dialog lists zip and gzip files beside patches: a patch is often handed out packed.
const char patch_pattern[] = "*.ips;*.zip;*.gz";

// Shows the open dialog until a file is chosen and placed: 1 with *length its bytes (0 when it
// could not be read), 0 when the user cancelled or a damaged archive ends the run. An archive
// that gives nothing to take has had its box, and the dialog comes again.
int32_t choose_and_load(const char *title, const char *pattern, int32_t patch, uint32_t *length)
{
    for (;;) {
        browse_for_file(title, 0, pattern, path_buffer, path_capacity);
        if (path_buffer[0] == '\0')
            return 0;
        load_result loaded = load_placed(path_buffer, patch, length);
        if (loaded != load_result::choose_again)
            return loaded == load_result::loaded;
    }
}

} // namespace

int32_t run_patcher()
{
    save_filter = "*.bin";

    // A file that cannot be read arrives at the size test with length 0 and ends there.
    uint32_t length = 0;
    int32_t given_image = take_given_image(&length);
    if (given_image < 0)
        return 0;
    if (!given_image && !choose_and_load("Load file to be patched", "*", 0, &length))
        return 0;

    // From here on every stage sees the working image: no header, linear order.
    uint8_t *start = normalize_target(target_buffer, &length);
    if (!start) {
        show_message(patch_as_target_text, patch_as_target_title);
        return 0;
    }

    if (length < minimum_image_length) {
        show_message("File size is too small or error loading file", "Error");
        return 0;
    }

    // A recognised title may bring its own patch and save pattern; a refusal has been explained.
    const verdict source = identify_source(start, length, &built_in_source_catalogue);
    int32_t result = carry_out_verdict(&source);
    if (result < 0)
        return 0;
    if (result == 0) {
        uint32_t patch_length = 0;
        int32_t given_patch = take_given_patch(&patch_length);
        if (given_patch < 0)
            return 0;
        if (!given_patch && !choose_and_load("Load IPS file", patch_pattern, 1, &patch_length))
            return 0;
        result = static_cast<int32_t>(patch_length);
        if (result == 0) {
            show_message("Error loading patch file", "Error");
            return 0;
        }
    }

    if (!ips_apply(start, patch_buffer, length, static_cast<uint32_t>(result))) {
        show_message("Error in patch file", "Error");
        return 0;
    }
    const verdict patched = verify_result(start, length, &built_in_result_signatures);
    if (carry_out_verdict(&patched) < 0)
        return 0;

    return save_patched_file(start, length, save_filter);
}
