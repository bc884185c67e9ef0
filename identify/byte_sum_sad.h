// byte_sum_sad.h -- the byte sum of whole vector blocks, by sums of absolute differences
#ifndef PATCHER_BYTE_SUM_SAD_H
#define PATCHER_BYTE_SUM_SAD_H

#include <cstdint>

// The sum, modulo 2^32, of length bytes, length a multiple of 16; for a CPU with SSE2 (every
// 64-bit x86 has it).
uint32_t byte_sum_sse2(const uint8_t *buffer, uint32_t length);

// The same for length a multiple of 64, on a CPU with AVX-512BW.
uint32_t byte_sum_avx512(const uint8_t *buffer, uint32_t length);

#endif
