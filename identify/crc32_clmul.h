// crc32_clmul.h -- the CRC-32 register carried over whole 16-byte blocks with PCLMULQDQ or its
// 512-bit form VPCLMULQDQ
#ifndef PATCHER_CRC32_CLMUL_H
#define PATCHER_CRC32_CLMUL_H

#include <cstdint>

// The register after length more bytes, length a multiple of 16 and at least 64. Only for a CPU
// where crc32_clmul_available() is 1.
uint32_t crc32_clmul_update(uint32_t reg, const uint8_t *buffer, uint32_t length);

// 1 when the CPU has carry-less multiplication (and SSE4.1), else 0.
int32_t crc32_clmul_available();

// The same with 512-bit registers, length at least 256; for a CPU with AVX-512 and VPCLMULQDQ,
// where crc32_wide_clmul_available() is 1.
uint32_t crc32_wide_clmul_update(uint32_t reg, const uint8_t *buffer, uint32_t length);
int32_t crc32_wide_clmul_available();

#endif
