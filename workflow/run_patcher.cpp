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
#include "workflow/save_patched_file.h"

namespace {

const uint32_t minimum_image_length = 0x40000; // 256 KiB: nothing smaller is a game this patches

} // namespace

int32_t run_patcher()
{
    save_filter = "*.bin";

    // A file that cannot be read arrives at the size test with length 0 and ends there.
    uint32_t length = 0;
    if (!take_given_image(&length)) {
        browse_for_file("Load file to be patched", 0, "*", path_buffer, path_capacity);
        if (path_buffer[0] == '\0')
            return 0;
        length = load_file(path_buffer, target_buffer, target_capacity);
    }

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
        if (!take_given_patch(&patch_length)) {
            browse_for_file("Load IPS file", 0, "*.ips", path_buffer, path_capacity);
            if (path_buffer[0] == '\0')
                return 0;
            patch_length = load_file(path_buffer, patch_buffer, patch_capacity);
        }
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
