// catalogue_images.cpp -- lays out a row's stored bytes in an empty image, then sets its signature
#include "support/catalogue_images.h"
#include "support/crc_forge.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

const uint32_t smallest_image = 0x40000; // the driver patches nothing smaller
const uint32_t sum_area_start = 0x200;   // past the cartridge header: no row stores bytes here
const uint32_t fill_ceiling = 200;       // the highest byte value a sum is spread out with

uint32_t chosen(const catalogue_test &test, pick value)
{
    return test.values[value == pick::first ? 0 : test.value_count - 1];
}

// The length a row needs when it does not say one.
uint32_t natural_length(const catalogue_rule &rule)
{
    uint64_t length = smallest_image;
    for (uint32_t i = 0; i < rule.test_count; i++) {
        const catalogue_test &t = rule.tests[i];
        if (t.kind == test_kind::length_equals)
            return t.length;
        if (t.kind == test_kind::length_at_least || t.kind == test_kind::block_equals ||
            t.kind == test_kind::dir_entry_equals)
            length = std::max<uint64_t>(length, uint64_t{t.offset} + t.length + 1);
        if (t.kind == test_kind::sum_in) {
            uint32_t largest = *std::max_element(t.values, t.values + t.value_count);
            uint64_t needed = largest / fill_ceiling + sum_area_start;
            length = std::max<uint64_t>(length, (needed + smallest_image - 1) / smallest_image *
                                                    smallest_image);
        }
    }
    return static_cast<uint32_t>(length);
}

} // namespace

void set_sum_from_0x200(bytes &image, uint32_t sum)
{
    std::fill(image.begin() + sum_area_start, image.end(), 0);
    uint64_t fixed = std::accumulate(image.begin(), image.end(), uint64_t{0});
    if (sum < fixed)
        std::abort(); // the stored bytes alone already weigh more
    uint64_t spread = sum - fixed;
    uint64_t area = image.size() - sum_area_start;
    uint64_t each = spread / area;
    uint64_t extra = spread % area;
    if (each + 1 > 255)
        std::abort(); // the image is too short to carry this sum
    for (uint64_t i = 0; i < area; i++)
        image[sum_area_start + i] = static_cast<uint8_t>(each + (i < extra ? 1 : 0));
}

bytes image_for_rule_at(const catalogue_rule &rule, uint32_t length, pick value)
{
    bytes image(length, 0);
    const catalogue_test *sum_test = nullptr;
    const catalogue_test *crc_test = nullptr;
    for (uint32_t i = 0; i < rule.test_count; i++) {
        const catalogue_test &t = rule.tests[i];
        switch (t.kind) {
        case test_kind::header_equals:
        case test_kind::checksum_word_equals:
        case test_kind::dir_entry_equals: // the byte after the entry stays 0
        case test_kind::block_equals:
            std::copy_n(t.stored, t.kind == test_kind::header_equals ? t.length : t.stored_length,
                        image.begin() + t.offset);
            break;
        case test_kind::sum_in:
            sum_test = &t;
            break;
        case test_kind::crc_in:
            crc_test = &t;
            break;
        default:
            break;
        }
    }
    if (sum_test)
        set_sum_from_0x200(image, chosen(*sum_test, value));
    if (crc_test)
        force_crc(image, chosen(*crc_test, value));
    return image;
}

bytes image_for_rule(const catalogue_rule &rule, pick value)
{
    return image_for_rule_at(rule, natural_length(rule), value);
}
