// catalogue_images.h -- test images built to pass exactly the tests of one catalogue row
#ifndef PATCHER_TESTS_CATALOGUE_IMAGES_H
#define PATCHER_TESTS_CATALOGUE_IMAGES_H

#include "identify/catalogue_rule.h"
#include "support/temp_folder.h"

// An image that passes every test of rule: zero bytes, the row's header text (over its compare
// length), checksum word, directory entries and block in place, then the last CRC-32 or byte sum
// of the row's list, set in the image's last bytes. Its length is the row's length_equals, or
// else 1 MiB. Bytes 0x10 to 0xFF meet no row test but the CRC and sum.
bytes image_for_rule(const catalogue_rule &rule);

#endif
