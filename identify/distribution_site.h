// distribution_site.h -- the web address of the patch distribution site, named in the boxes that
// send the user there for a current patch or a current version of this program
//
// A literal, so that each box's text is one constant written out whole at compile time.
#ifndef PATCHER_DISTRIBUTION_SITE_H
#define PATCHER_DISTRIBUTION_SITE_H

#define PATCHER_DISTRIBUTION_SITE "https://patches.example.org/"

// What both "unrecognised" boxes say after the site.
#define PATCHER_AFTER_SITE_LATEST_VERSIONS                                                        \
    "\n\n...and make sure you've got the latest version\nof the patch and this program.\n\n"     \
    "If it's someone else's patch then you can ignore this."

#endif
