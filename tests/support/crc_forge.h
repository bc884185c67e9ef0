// crc_forge.h -- test images with a chosen CRC-32, worked out with zlib's own table, or byte sum
#ifndef PATCHER_TESTS_CRC_FORGE_H
#define PATCHER_TESTS_CRC_FORGE_H

#include "support/temp_folder.h"

// zlib's CRC-32 of the whole buffer.
uint32_t zlib_crc32(const bytes &data);

// Rewrites the last four bytes of the length bytes at image (at least four) so that their CRC-32
// becomes crc.
void force_crc(uint8_t *image, uint32_t length, uint32_t crc);
inline void force_crc(bytes &image, uint32_t crc) { force_crc(image.data(), uint32_t(image.size()), crc); }

// Moves bytes from the end towards 0 or 255, none in front of from, until the byte sum of the
// length bytes at image is sum (modulo 2^32), as far as those bytes allow.
void force_sum(uint8_t *image, uint32_t length, uint32_t sum, uint32_t from);

// The CRC as the user sees it on the clipboard: "0x" and eight upper-case hexadecimal digits.
std::string crc_text(uint32_t crc);

#endif
