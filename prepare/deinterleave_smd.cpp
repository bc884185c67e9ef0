// deinterleave_smd.cpp -- converts an interleaved (SMD) cartridge image to linear order in place
//
// The interleaved layout stores the image in blocks of 16 KiB. Within a block the first 8 KiB hold
// the bytes of the block's odd positions (1, 3, ... 16383) and the second 8 KiB those of its even
// positions (0, 2, ... 16382), each half in ascending order. Both halves are copied out before any
// byte of the block is written, then woven back together: even byte i to 2i, odd byte i to 2i + 1.
#include "prepare/deinterleave_smd.h"

#include <cstring>

namespace {

const uint32_t block_size = 2 * smd_half_block; // one interleaved block: odd half, then even half

} // namespace

uint8_t smd_odd_scratch[smd_half_block];
uint8_t smd_even_scratch[smd_half_block];

void deinterleave_smd(uint8_t *start, uint32_t length)
{
    const uint32_t blocks = length / block_size; // a partial last block stays as it is
    for (uint32_t b = 0; b < blocks; b++) {
        uint8_t *block = start + static_cast<size_t>(b) * block_size;
        std::memcpy(smd_odd_scratch, block, smd_half_block);
        std::memcpy(smd_even_scratch, block + smd_half_block, smd_half_block);
        for (uint32_t i = 0; i < smd_half_block; i++) {
            block[2 * i] = smd_even_scratch[i];
            block[2 * i + 1] = smd_odd_scratch[i];
        }
    }
}
