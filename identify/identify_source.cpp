// identify_source.cpp -- refuses patched and bad sources, walks the catalogue, reports the unknown
#include "identify/identify_source.h"

#include "identify/catalogue_data.h"
#include "identify/checksums.h"
#include "identify/crc_clipboard.h"
#include "identify/distribution_site.h"
#include "identify/match_rule.h"
#include "identify/title_catalogue.h"
#include "host/host_services.h"
#include "workflow/load_named_patch.h"
#include "workflow/patcher_storage.h"

#include <cstdio>

namespace {

const char already_patched_text[] = "This file has already been patched. Please use a clean copy.";
const char known_bad_text[] = "This file is known to be bad and is not compatible with our "
                              "patch.\n\nPlease try a different one.";

const char unrecognised_title[] = "Unrecognized source file";
const char unrecognised_before_site[] =
    "There may be a problem with this file\nIt could be any one of the following:\n"
    "- it's not a game that we have a patch for\n- it's corrupt\n- it's an unknown version\n"
    "- it has already been patched\n\nIt is also possible that you are using an\n"
    "outdated version of this program.\n\nIf you are trying to apply a R.O.V.A.K. patch, go to\n\n";
const char unrecognised_after_site[] =
    "\n\n...and make sure you've got the latest version\nof the patch and this program.\n\n"
    "If it's someone else's patch then you can ignore this.";

const int32_t stop = -1;

int32_t crc_listed(const uint32_t *crcs, uint32_t count, uint32_t crc)
{
    for (uint32_t i = 0; i < count; i++)
        if (crcs[i] == crc)
            return 1;
    return 0;
}

// Warning first, then the save pattern, then the load: the pattern holds even when the patch
// file turns out to be missing and the user is asked for one.
int32_t carry_out(const catalogue_outcome *outcome)
{
    switch (outcome->kind) {
    case outcome_kind::load_patch:
        if (outcome->text)
            show_message(outcome->text, "Warning");
        if (outcome->save_filter)
            save_filter = outcome->save_filter;
        return static_cast<int32_t>(load_named_patch(outcome->patch_name));
    case outcome_kind::reject:
        show_message(outcome->text, "Error");
        return stop;
    case outcome_kind::ask_user:
        return 0;
    }
    return 0;
}

void report_unrecognised(uint32_t crc)
{
    char text[sizeof unrecognised_before_site + sizeof distribution_site +
              sizeof unrecognised_after_site];
    std::snprintf(text, sizeof text, "%s%s%s", unrecognised_before_site, distribution_site,
                  unrecognised_after_site);
    show_message(text, unrecognised_title);
    copy_crc_to_clipboard(crc); // once the user has read why
}

} // namespace

const source_catalogue built_in_source_catalogue = {
    &built_in_result_signatures, known_bad_source_crcs, known_bad_source_crc_count,
    title_catalogue,             title_catalogue_rows,
};

int32_t identify_source_against(const uint8_t *image, uint32_t length,
                                const source_catalogue *catalogue)
{
    // One pass yields both signatures, for every test below that needs one.
    const image_signature signature = image_signatures(image, length);
    const image_facts facts = {image, length, signature.crc, signature.sum};

    if (signature_is_patched(signature, catalogue->results)) {
        show_message(already_patched_text, "Error");
        return stop;
    }
    if (crc_listed(catalogue->known_bad_crcs, catalogue->known_bad_crc_count, facts.crc)) {
        show_message(known_bad_text, "Error");
        return stop;
    }

    int32_t row = first_matching_rule(catalogue->rules, catalogue->rule_count, &facts);
    if (row >= 0)
        return carry_out(&catalogue->rules[row].outcome);

    report_unrecognised(facts.crc);
    return 0;
}

int32_t identify_source(const uint8_t *image, uint32_t length)
{
    return identify_source_against(image, length, &built_in_source_catalogue);
}
