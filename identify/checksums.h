// checksums.h -- the two 32-bit signatures of a whole image: the byte sum and the CRC-32
#ifndef PATCHER_CHECKSUMS_H
#define PATCHER_CHECKSUMS_H

#include <cstdint>

// Sum of the length bytes taken as unsigned values, modulo 2^32. An empty buffer sums to 0.
uint32_t byte_sum(const uint8_t *buffer, uint32_t length);

// The standard CRC-32 (IEEE 802.3: reflected, polynomial 0xEDB88320, register starting at and
// finally flipped with 0xFFFFFFFF). "123456789" gives 0xCBF43926; an empty buffer gives 0.
uint32_t crc32_buffer(const uint8_t *buffer, uint32_t length);

// Both signatures of one image, the values crc32_buffer and byte_sum give, from one pass over it.
struct image_signature {
    uint32_t crc;
    uint32_t sum;
};
image_signature image_signatures(const uint8_t *buffer, uint32_t length);

// The ways to both signatures, all with the same results. Portable: the CRC by tables, eight bytes
// a step, and a plain loop for the sum, on any CPU. SSE: the CRC by carry-less multiplication in
// 128-bit registers, the sum 16 bytes a step (PCLMULQDQ, SSE4.1). AVX-512: both in 512-bit
// registers (VPCLMULQDQ, AVX-512BW). The first checksum takes the fastest the CPU offers; tests and
// benchmarks may force one (an unavailable path gives the portable one), and checksum_path_count
// lets the next checksum choose again.
enum checksum_path {
    checksum_path_portable,
    checksum_path_sse,
    checksum_path_avx512,
    checksum_path_count,
};
int32_t checksum_path_available(checksum_path path);
void checksum_use_path(checksum_path path);

#endif
