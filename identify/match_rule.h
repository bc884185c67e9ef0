// match_rule.h -- evaluates catalogue rows against a working image
#ifndef PATCHER_MATCH_RULE_H
#define PATCHER_MATCH_RULE_H

#include "identify/catalogue_rule.h"

#include <cstdint>

// What the tests of one walk know of the image: the caller works out both signatures in one pass
// before the walk, however many tests then need them.
struct image_facts {
    const uint8_t *image;
    uint32_t length;
    uint32_t crc; // CRC-32 of the whole image
    uint32_t sum; // byte sum of the whole image
};

// 1 when every test of rule holds, tried in order until the first that fails; else 0.
int32_t rule_holds(const catalogue_rule *rule, const image_facts *facts);

// Index of the first of count rules that holds for the image, or -1 when none does.
int32_t first_matching_rule(const catalogue_rule *rules, uint32_t count, const image_facts *facts);

#endif
