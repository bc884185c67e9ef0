// identify_source.h -- decides what a working image is before any patch touches it
#ifndef PATCHER_IDENTIFY_SOURCE_H
#define PATCHER_IDENTIFY_SOURCE_H

#include "identify/catalogue_rule.h"
#include "identify/verdict.h"
#include "identify/verify_result.h"

#include <cstdint>

// Everything identification compares a source with.
struct source_catalogue {
    const result_signature_lists *results; // a source with one of these is already patched
    const uint32_t *known_bad_crcs;        // refused, tested in order
    uint32_t known_bad_crc_count;
    const catalogue_rule *rules; // walked in order; the first that holds decides
    uint32_t rule_count;
};

// The built-in lists and the title catalogue.
extern const source_catalogue built_in_source_catalogue;

// Identifies the image against catalogue. In order: an already-patched image and a known-bad one
// are refused; then the first matching row decides (its warning, save pattern and patch name, its
// refusal, or the user picks a patch); an image that no row takes is reported as unrecognised,
// with its CRC-32, and the user picks a patch.
verdict identify_source(const uint8_t *image, uint32_t length, const source_catalogue *catalogue);

#endif
