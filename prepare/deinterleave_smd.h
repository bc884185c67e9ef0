// deinterleave_smd.h -- converts an interleaved (SMD) cartridge image to linear order in place
#ifndef PATCHER_DEINTERLEAVE_SMD_H
#define PATCHER_DEINTERLEAVE_SMD_H

#include <cstdint>

constexpr uint32_t smd_half_block = 0x2000; // one half of a 16 KiB interleaved block

// Where one block's two halves wait while the block is rewoven.
extern uint8_t smd_odd_scratch[smd_half_block];
extern uint8_t smd_even_scratch[smd_half_block];

// Converts every whole 16 KiB block of the image (length bytes from start) to linear order in
// place, through smd_odd_scratch and smd_even_scratch. The bytes behind the last whole block are
// left exactly as they were.
void deinterleave_smd(uint8_t *start, uint32_t length);

#endif
