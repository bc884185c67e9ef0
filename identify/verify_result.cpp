// verify_result.cpp -- refuses outdated patch results, warns of unknown ones, spots patched sources
#include "identify/verify_result.h"

#include "identify/catalogue_data.h"
#include "identify/distribution_site.h"
#include "identify/value_list.h"

namespace {

const char outdated_text[] = "This patch file is outdated.\n\nPlease get the updated version at "
                             PATCHER_DISTRIBUTION_SITE "\n\nROM file will not be saved";

const char unrecognised_title[] = "Unrecognized patch";
const char unrecognised_text[] =
    "There may be a problem with this patch file\nIt could be any one of the following:\n"
    "- it is the wrong patch for this game\n- it is corrupt\n- it is an out-of-date version\n"
    "- it is not one of our patches\n- this patcher program is out of date\n\n"
    "If this was a R.O.V.A.K. patch, please go to\n\n" PATCHER_DISTRIBUTION_SITE
    PATCHER_AFTER_SITE_LATEST_VERSIONS;

// The two sums that also mark a source as already patched: the first and the third.
const uint32_t patched_source_sum_indices[] = {0, 2};

const verdict saved_silently = {0, nullptr, nullptr, 0, 0, nullptr, nullptr};
const verdict refused_as_outdated = {1, "Error", outdated_text, 0, 0, nullptr, nullptr};

} // namespace

const result_signature_lists built_in_result_signatures = {
    current_result_crcs, current_result_crc_count, outdated_result_crcs, outdated_result_crc_count,
    current_result_sums, current_result_sum_count, outdated_result_sums, outdated_result_sum_count,
};

verdict verify_result(const uint8_t *image, uint32_t length, const result_signature_lists *lists)
{
    const image_signature signature = image_signatures(image, length);
    const uint32_t sum = signature.sum, crc = signature.crc;
    if (value_listed(lists->current_sums, lists->current_sum_count, sum))
        return saved_silently;
    if (value_listed(lists->outdated_sums, lists->outdated_sum_count, sum))
        return refused_as_outdated;

    if (value_listed(lists->current_crcs, lists->current_crc_count, crc))
        return saved_silently;
    if (value_listed(lists->outdated_crcs, lists->outdated_crc_count, crc))
        return refused_as_outdated;
    if (crc == 0) // the mark of a result known to be outdated, held in no list
        return refused_as_outdated;

    // Saved all the same, once the user has read why and has the CRC-32 to report.
    return {0, unrecognised_title, unrecognised_text, 1, crc, nullptr, nullptr};
}

int32_t is_already_patched(image_signature signature, const result_signature_lists *lists)
{
    const uint32_t sum = signature.sum, crc = signature.crc;
    if (value_listed(lists->current_sums, lists->current_sum_count, sum))
        return 1;
    if (value_listed(lists->current_crcs, lists->current_crc_count, crc))
        return 1;
    if (value_listed(lists->outdated_crcs, lists->outdated_crc_count, crc))
        return 1;
    for (uint32_t index : patched_source_sum_indices)
        if (index < lists->outdated_sum_count && lists->outdated_sums[index] == sum)
            return 1;
    return crc == 0 ? 1 : 0;
}
