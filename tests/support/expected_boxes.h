// expected_boxes.h -- the texts of the two boxes that judge a patched result, as users read them
#ifndef PATCHER_TESTS_EXPECTED_BOXES_H
#define PATCHER_TESTS_EXPECTED_BOXES_H

#include "identify/distribution_site.h"

#include <string>

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

// The same boxes as lines of the scripted back end's transcript.
inline const std::string outdated_box = "box|Error|" + outdated_patch_text;
inline const std::string unrecognised_box = "box|Unrecognized patch|" + unrecognised_patch_text;

#endif
