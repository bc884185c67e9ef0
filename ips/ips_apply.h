// ips_apply.h -- strict, in-place application of one IPS patch
#ifndef PATCHER_IPS_APPLY_H
#define PATCHER_IPS_APPLY_H

#include <cstdint>

// Applies the patch (patch_length bytes) to the image (image_length bytes) in place. Returns 1 when
// the "EOF" marker was reached and every record before it was written, 0 on the first fault. Records
// before a faulty one stay written; the image never grows or shrinks.
int32_t ips_apply(uint8_t *image, const uint8_t *patch, uint32_t image_length,
                  uint32_t patch_length);

#endif
