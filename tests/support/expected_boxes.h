// expected_boxes.h -- the texts of the boxes that judge a source and a patched result, as users
// read them
#ifndef PATCHER_TESTS_EXPECTED_BOXES_H
#define PATCHER_TESTS_EXPECTED_BOXES_H

#include "identify/distribution_site.h"
#include "support/crc_forge.h"

#include <string>
#include <vector>

inline const std::string outdated_patch_text =
    std::string("This patch file is outdated.\n\nPlease get the updated version at ") +
    distribution_site + "\n\nROM file will not be saved";

inline const std::string unrecognised_patch_text =
    std::string("There may be a problem with this patch file\n"
                "It could be any one of the following:\n"
                "- it is the wrong patch for this game\n"
                "- it is corrupt\n"
                "- it is an out-of-date version\n"
                "- it is not one of our patches\n"
                "- this patcher program is out of date\n\n"
                "If this was a R.O.V.A.K. patch, please go to\n\n") +
    distribution_site +
    "\n\n...and make sure you've got the latest version\nof the patch and this program.\n\n"
    "If it's someone else's patch then you can ignore this.";

inline const std::string unrecognised_source_text =
    std::string("There may be a problem with this file\n"
                "It could be any one of the following:\n"
                "- it's not a game that we have a patch for\n"
                "- it's corrupt\n"
                "- it's an unknown version\n"
                "- it has already been patched\n\n"
                "It is also possible that you are using an\n"
                "outdated version of this program.\n\n"
                "If you are trying to apply a R.O.V.A.K. patch, go to\n\n") +
    distribution_site +
    "\n\n...and make sure you've got the latest version\nof the patch and this program.\n\n"
    "If it's someone else's patch then you can ignore this.";

// The same boxes as lines of the scripted back end's transcript.
inline const std::string outdated_box = "box|Error|" + outdated_patch_text;
inline const std::string unrecognised_box = "box|Unrecognized patch|" + unrecognised_patch_text;
inline const std::string unrecognised_source_box =
    "box|Unrecognized source file|" + unrecognised_source_text;

// The transcript of an unrecognised source or result: its box, then its CRC-32 on the clipboard.
inline std::vector<std::string> unrecognised_source_events(const bytes &source)
{
    return {unrecognised_source_box, "clipboard||" + crc_text(zlib_crc32(source))};
}
inline std::vector<std::string> unrecognised_result_events(const bytes &result)
{
    return {unrecognised_box, "clipboard||" + crc_text(zlib_crc32(result))};
}

// Transcript parts one after the other.
inline std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const std::vector<std::string> &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

#endif
