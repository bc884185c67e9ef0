// verify_result.h -- judges an image by the signatures of the images that patches produce
#ifndef PATCHER_VERIFY_RESULT_H
#define PATCHER_VERIFY_RESULT_H

#include "identify/checksums.h"
#include "identify/verdict.h"

#include <cstdint>

// Four lists of signatures, each a pointer and a count. outdated_sums is in ascending order.
struct result_signature_lists {
    const uint32_t *current_crcs;
    uint32_t current_crc_count;
    const uint32_t *outdated_crcs;
    uint32_t outdated_crc_count;
    const uint32_t *current_sums;
    uint32_t current_sum_count;
    const uint32_t *outdated_sums;
    uint32_t outdated_sum_count;
};

// The lists of the built-in catalogue.
extern const result_signature_lists built_in_result_signatures;

// Decides whether a patched image may be saved. A current signature passes silently; an outdated
// one, or a CRC-32 of 0, stops the run with the outdated-patch box; an image that matches nothing
// passes with the "Unrecognized patch" box, and its CRC-32 is to be reported. Sums are tested
// before CRCs, current lists before outdated ones, and a CRC of 0 last. Both signatures come from
// one pass over the image.
verdict verify_result(const uint8_t *image, uint32_t length, const result_signature_lists *lists);

// 1 when the signature is that of a patched result, else 0. Of the outdated sums only the first
// and the third count here.
int32_t is_already_patched(image_signature signature, const result_signature_lists *lists);

#endif
