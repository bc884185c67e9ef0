// identify_source.cpp -- refuses patched and bad sources, walks the catalogue, reports the unknown
#include "identify/identify_source.h"

#include "identify/catalogue_data.h"
#include "identify/checksums.h"
#include "identify/distribution_site.h"
#include "identify/match_rule.h"
#include "identify/title_catalogue.h"
#include "identify/value_list.h"

namespace {

const char already_patched_text[] = "This file has already been patched. Please use a clean copy.";
const char known_bad_text[] = "This file is known to be bad and is not compatible with our "
                              "patch.\n\nPlease try a different one.";

const char unrecognised_title[] = "Unrecognized source file";
const char unrecognised_text[] =
    "There may be a problem with this file\nIt could be any one of the following:\n"
    "- it's not a game that we have a patch for\n- it's corrupt\n- it's an unknown version\n"
    "- it has already been patched\n\nIt is also possible that you are using an\n"
    "outdated version of this program.\n\nIf you are trying to apply a R.O.V.A.K. patch, go to\n\n"
    PATCHER_DISTRIBUTION_SITE PATCHER_AFTER_SITE_LATEST_VERSIONS;

verdict refusal(const char *text)
{
    return {1, "Error", text, 0, 0, nullptr, nullptr};
}

// A row's warning comes first, then its save pattern, then its patch: the pattern holds even when
// the patch file turns out to be missing and the user is asked for one.
verdict row_verdict(const catalogue_outcome *outcome)
{
    switch (outcome->kind) {
    case outcome_kind::load_patch:
        return {0, outcome->text ? "Warning" : nullptr, outcome->text, 0, 0, outcome->save_filter,
                outcome->patch_name};
    case outcome_kind::reject:
        return refusal(outcome->text);
    case outcome_kind::ask_user:
        break;
    }
    return {0, nullptr, nullptr, 0, 0, nullptr, nullptr};
}

} // namespace

const source_catalogue built_in_source_catalogue = {
    &built_in_result_signatures, known_bad_source_crcs, known_bad_source_crc_count,
    title_catalogue,             title_catalogue_rows,
};

verdict identify_source(const uint8_t *image, uint32_t length, const source_catalogue *catalogue)
{
    // One pass yields both signatures, for every test below that needs one.
    const image_signature signature = image_signatures(image, length);
    const image_facts facts = {image, length, signature.crc, signature.sum};

    if (is_already_patched(signature, catalogue->results))
        return refusal(already_patched_text);
    if (value_listed(catalogue->known_bad_crcs, catalogue->known_bad_crc_count, facts.crc))
        return refusal(known_bad_text);

    int32_t row = first_matching_rule(catalogue->rules, catalogue->rule_count, &facts);
    if (row >= 0)
        return row_verdict(&catalogue->rules[row].outcome);

    // The user may still pick any patch, once told why and with the CRC-32 to report.
    return {0, unrecognised_title, unrecognised_text, 1, facts.crc, nullptr, nullptr};
}
