// catalogue_images.h -- test images built to pass exactly the tests of one catalogue row
#ifndef PATCHER_TESTS_CATALOGUE_IMAGES_H
#define PATCHER_TESTS_CATALOGUE_IMAGES_H

#include "identify/catalogue_rule.h"
#include "support/temp_folder.h"

#include <cstdint>

// Which value of a row's CRC set or sum list the image is given.
enum class pick { first, last };

// An image that passes every test of rule: zero bytes, the row's header text (over its compare
// length), checksum word, directory entries and block in place, then the byte sum or CRC-32 the
// row asks for. Its length is the row's length_equals, at least its length_at_least, or else the
// smallest that holds its block and sum (and no less than 256 KiB, the smallest image patched).
// Patches that touch only bytes 0x10 to 0xFF leave every row test but the CRC and sum alone.
bytes image_for_rule(const catalogue_rule &rule, pick value = pick::last);

// The same at a chosen length, for rows without a length test.
bytes image_for_rule_at(const catalogue_rule &rule, uint32_t length, pick value = pick::last);

// Changes bytes from 0x200 on so that the image's byte sum becomes sum.
void set_sum_from_0x200(bytes &image, uint32_t sum);

#endif
