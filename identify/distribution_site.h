// distribution_site.h -- the web address of the patch distribution site, named in the boxes that
// send the user there for a current patch or a current version of this program
#ifndef PATCHER_DISTRIBUTION_SITE_H
#define PATCHER_DISTRIBUTION_SITE_H

inline constexpr char distribution_site[] = "https://patches.example.org/";

#endif
