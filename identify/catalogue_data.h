// catalogue_data.h -- the built-in catalogue data: signatures of the images the patches produce,
// and of the source dumps known to be bad
//
// A signature is the CRC-32 or the byte sum of a whole working image. No value occurs twice in
// these lists, and none is 0: a CRC-32 of 0 is judged by the verification code itself.
#ifndef PATCHER_CATALOGUE_DATA_H
#define PATCHER_CATALOGUE_DATA_H

#include <cstdint>

constexpr uint32_t current_result_crc_count = 22;  // results of the current patches known by CRC
constexpr uint32_t outdated_result_crc_count = 10; // results of superseded patches known by CRC
constexpr uint32_t current_result_sum_count = 9;   // results of the current patches known by sum
constexpr uint32_t outdated_result_sum_count = 4;  // results of superseded patches known by sum
constexpr uint32_t known_bad_source_crc_count = 3;  // source dumps known to be bad

// Images that the current patches produce: saved without a word.
extern const uint32_t current_result_crcs[current_result_crc_count];
extern const uint32_t current_result_sums[current_result_sum_count];

// Images that outdated patches produce: refused. The sums are held in ascending order.
extern const uint32_t outdated_result_crcs[outdated_result_crc_count];
extern const uint32_t outdated_result_sums[outdated_result_sum_count];

// Sources that are refused before the title catalogue is looked at, tested in this order. None is
// also a result signature or a title's CRC-32.
extern const uint32_t known_bad_source_crcs[known_bad_source_crc_count];

#endif
