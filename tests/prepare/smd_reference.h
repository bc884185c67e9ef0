// smd_reference.h -- the interleaved layout built and undone by position, as an independent check
#ifndef PATCHER_TESTS_SMD_REFERENCE_H
#define PATCHER_TESTS_SMD_REFERENCE_H

#include "support/temp_folder.h"

constexpr uint32_t smd_block = 0x4000;
constexpr uint32_t smd_half = smd_block / 2;

// Bytes with the high bit set, so that no run of them spells an ASCII marker by chance.
inline bytes marker_free_noise(uint32_t length, uint32_t seed)
{
    bytes b(length);
    for (uint32_t i = 0; i < length; i++) {
        seed = seed * 1103515245u + 12345u;
        b[i] = static_cast<uint8_t>(0x80 | (seed >> 16));
    }
    return b;
}

// Linear position p of a whole block comes from the odd half (p odd) or the even half (p even).
inline bytes linear_from_interleaved(const bytes &in)
{
    bytes out = in;
    for (size_t block = 0; block + smd_block <= in.size(); block += smd_block)
        for (size_t p = 0; p < smd_block; p++)
            out[block + p] = in[block + (p % 2 ? p / 2 : smd_half + p / 2)];
    return out;
}

inline bytes interleaved_from_linear(const bytes &in)
{
    bytes out = in;
    for (size_t block = 0; block + smd_block <= in.size(); block += smd_block)
        for (size_t p = 0; p < smd_block; p++)
            out[block + (p % 2 ? p / 2 : smd_half + p / 2)] = in[block + p];
    return out;
}

#endif
