// archive_formats.h -- the listing of each format, for archive_list to call once it knows which
#ifndef PATCHER_ARCHIVE_FORMATS_H
#define PATCHER_ARCHIVE_FORMATS_H

#include "archive/archive_listing.h"

// Each fills listing's entries and counts from a buffer already known to start as its format does.
archive_result list_zip(const uint8_t *archive, uint32_t length, archive_listing *listing);
archive_result list_gzip(const uint8_t *archive, uint32_t length, archive_listing *listing);

#endif
