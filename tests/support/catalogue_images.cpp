// catalogue_images.cpp -- lays out a row's stored bytes in an empty image, then sets its signature
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <algorithm>

bytes image_for_rule(const catalogue_rule &rule)
{
    bytes image(0x100000, 0); // 1 MiB holds every row's stored bytes and any sum
    // Rows test their signature last, once every byte it depends on is in place. A sum is made
    // of bytes of 0xFF and one of the rest, at the end, far behind every stored byte.
    for (const catalogue_test *t = rule.tests; t != rule.tests + rule.test_count; t++) {
        const uint32_t wanted = t->value_count ? t->values[t->value_count - 1] : 0;
        image.resize(t->kind == test_kind::length_equals ? t->length : image.size());
        std::copy_n(t->stored, t->stored ? t->length : 0, image.begin() + t->offset);
        if (t->kind == test_kind::crc_in)
            force_crc(image, wanted);
        if (t->kind == test_kind::sum_in)
            force_sum(image.data(), uint32_t(image.size()), wanted, 0);
    }
    return image;
}
