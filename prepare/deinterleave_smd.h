// deinterleave_smd.h -- converts an interleaved (SMD) cartridge image to linear order in place
#ifndef PATCHER_DEINTERLEAVE_SMD_H
#define PATCHER_DEINTERLEAVE_SMD_H

#include <cstdint>

// Converts every whole 16 KiB block of the image (length bytes from start) to linear order in
// place, through smd_odd_scratch and smd_even_scratch. The bytes behind the last whole block are
// left exactly as they were.
void deinterleave_smd(uint8_t *start, uint32_t length);

#endif
