// verify_result.cpp -- refuses outdated patch results, warns of unknown ones, spots patched sources
#include "identify/verify_result.h"

#include "identify/catalogue_data.h"
#include "identify/checksums.h"
#include "identify/crc_clipboard.h"
#include "identify/distribution_site.h"
#include "host/host_services.h"

#include <cstdio>

namespace {

const char outdated_title[] = "Error";
const char outdated_before_site[] =
    "This patch file is outdated.\n\nPlease get the updated version at ";
const char outdated_after_site[] = "\n\nROM file will not be saved";

const char unrecognised_title[] = "Unrecognized patch";
const char unrecognised_before_site[] =
    "There may be a problem with this patch file\nIt could be any one of the following:\n"
    "- it is the wrong patch for this game\n- it is corrupt\n- it is an out-of-date version\n"
    "- it is not one of our patches\n- this patcher program is out of date\n\n"
    "If this was a R.O.V.A.K. patch, please go to\n\n";
const char unrecognised_after_site[] =
    "\n\n...and make sure you've got the latest version\nof the patch and this program.\n\n"
    "If it's someone else's patch then you can ignore this.";

// Room for the longer box text: its two fixed pieces and the site, with one NUL to spare each.
const size_t box_text_capacity =
    sizeof(unrecognised_before_site) + sizeof(distribution_site) + sizeof(unrecognised_after_site);
static_assert(sizeof(outdated_before_site) + sizeof(distribution_site) +
                      sizeof(outdated_after_site) <=
                  box_text_capacity,
              "the outdated-patch text fits too");

// The two sums that also mark a source as already patched: the first and the third.
const uint32_t patched_source_sum_indices[] = {0, 2};

void show_with_site(const char *before_site, const char *after_site, const char *title)
{
    char text[box_text_capacity];
    std::snprintf(text, sizeof text, "%s%s%s", before_site, distribution_site, after_site);
    show_message(text, title);
}

int32_t list_holds(const uint32_t *list, uint32_t count, uint32_t value)
{
    for (uint32_t i = 0; i < count; i++)
        if (list[i] == value)
            return 1;
    return 0;
}

int32_t refuse_as_outdated()
{
    show_with_site(outdated_before_site, outdated_after_site, outdated_title);
    return 0;
}

} // namespace

const result_signature_lists built_in_result_signatures = {
    current_result_crcs, current_result_crc_count, outdated_result_crcs, outdated_result_crc_count,
    current_result_sums, current_result_sum_count, outdated_result_sums, outdated_result_sum_count,
};

int32_t verify_signature_against(image_signature signature, const result_signature_lists *lists)
{
    const uint32_t sum = signature.sum, crc = signature.crc;
    if (list_holds(lists->current_sums, lists->current_sum_count, sum))
        return 1;
    if (list_holds(lists->outdated_sums, lists->outdated_sum_count, sum))
        return refuse_as_outdated();

    if (list_holds(lists->current_crcs, lists->current_crc_count, crc))
        return 1;
    if (list_holds(lists->outdated_crcs, lists->outdated_crc_count, crc))
        return refuse_as_outdated();
    if (crc == 0) // the mark of a result known to be outdated, held in no list
        return refuse_as_outdated();

    // Saved all the same; the clipboard is filled once the user has read why.
    show_with_site(unrecognised_before_site, unrecognised_after_site, unrecognised_title);
    copy_crc_to_clipboard(crc);
    return 1;
}

int32_t verify_result_against(const uint8_t *image, uint32_t length,
                              const result_signature_lists *lists)
{
    return verify_signature_against(image_signatures(image, length), lists);
}

int32_t signature_is_patched(image_signature signature, const result_signature_lists *lists)
{
    const uint32_t sum = signature.sum, crc = signature.crc;
    if (list_holds(lists->current_sums, lists->current_sum_count, sum))
        return 1;
    if (list_holds(lists->current_crcs, lists->current_crc_count, crc))
        return 1;
    if (list_holds(lists->outdated_crcs, lists->outdated_crc_count, crc))
        return 1;
    for (uint32_t index : patched_source_sum_indices)
        if (index < lists->outdated_sum_count && lists->outdated_sums[index] == sum)
            return 1;
    return crc == 0 ? 1 : 0;
}

int32_t is_already_patched_against(const uint8_t *image, uint32_t length,
                                   const result_signature_lists *lists)
{
    return signature_is_patched(image_signatures(image, length), lists);
}

int32_t verify_result(const uint8_t *image, uint32_t length)
{
    return verify_result_against(image, length, &built_in_result_signatures);
}

int32_t is_already_patched(const uint8_t *image, uint32_t length)
{
    return is_already_patched_against(image, length, &built_in_result_signatures);
}
