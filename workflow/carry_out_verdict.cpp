// carry_out_verdict.cpp -- acts on what identification or verification decided
#include "workflow/carry_out_verdict.h"

#include "host/host_services.h"
#include "workflow/given_files.h"
#include "workflow/patcher_storage.h"

#include <cstdio>

namespace {

const uint32_t crc_text_size = 11; // "0x", eight digits and the terminating NUL

} // namespace

int32_t carry_out_verdict(const verdict *decided)
{
    if (decided->box_title)
        show_message(decided->box_text, decided->box_title);
    if (decided->report_crc) { // once the user has read why
        char text[crc_text_size];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(decided->crc));
        copy_text_to_clipboard(text);
    }
    if (decided->stop)
        return -1;
    if (decided->save_filter)
        save_filter = decided->save_filter;
    if (!decided->patch_name)
        return 0;
    uint32_t given_length;
    const int32_t given_patch = take_given_patch(&given_length);
    if (given_patch < 0)
        return -1; // its damaged archive has been refused
    if (given_patch)
        return static_cast<int32_t>(given_length);
    return static_cast<int32_t>(load_file_if_present(decided->patch_name, patch_buffer, patch_capacity));
}
