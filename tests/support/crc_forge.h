// crc_forge.h -- test images with a chosen CRC-32, worked out with zlib's own table
#ifndef PATCHER_TESTS_CRC_FORGE_H
#define PATCHER_TESTS_CRC_FORGE_H

#include "support/temp_folder.h"

// zlib's CRC-32 of the whole buffer.
uint32_t zlib_crc32(const bytes &data);

// Rewrites the last four bytes of image (at least four long) so that its CRC-32 becomes crc.
void force_crc(bytes &image, uint32_t crc);

// The CRC as the user sees it on the clipboard: "0x" and eight upper-case hexadecimal digits.
std::string crc_text(uint32_t crc);

#endif
