// byte_sum_sad.cpp -- the byte sum of whole vector blocks, by sums of absolute differences
//
// PSADBW against zero adds each group of eight bytes into a 64-bit lane in one instruction, so a
// 16-byte block costs one load and one add, whatever the bytes. A 64-bit lane would need 2^56
// bytes to overflow; and only the lanes' low words count in the end: the sum is taken modulo 2^32,
// and those words add up to exactly that.
#include "identify/byte_sum_sad.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

__attribute__((target("sse2"))) uint32_t byte_sum_sse2(const uint8_t *buffer, uint32_t length)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, b = zero; // two running sums, so that one add need not wait for the other
    uint32_t i = 0;
    for (; i + 32 <= length; i += 32) {
        a = _mm_add_epi64(a, _mm_sad_epu8(_mm_loadu_si128((const __m128i *)(buffer + i)), zero));
        b = _mm_add_epi64(b, _mm_sad_epu8(_mm_loadu_si128((const __m128i *)(buffer + i + 16)), zero));
    }
    if (i < length)
        a = _mm_add_epi64(a, _mm_sad_epu8(_mm_loadu_si128((const __m128i *)(buffer + i)), zero));
    a = _mm_add_epi64(a, b);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(a)) +
           static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(a, a)));
}

__attribute__((target("avx512f,avx512bw"))) uint32_t byte_sum_avx512(const uint8_t *buffer,
                                                                      uint32_t length)
{
    const __m512i zero = _mm512_setzero_si512();
    __m512i a = zero, b = zero;
    uint32_t i = 0;
    for (; i + 128 <= length; i += 128) {
        a = _mm512_add_epi64(a, _mm512_sad_epu8(_mm512_loadu_si512(buffer + i), zero));
        b = _mm512_add_epi64(b, _mm512_sad_epu8(_mm512_loadu_si512(buffer + i + 64), zero));
    }
    if (i < length)
        a = _mm512_add_epi64(a, _mm512_sad_epu8(_mm512_loadu_si512(buffer + i), zero));
    // Through memory rather than _mm512_reduce_add_epi64, which GCC 12 warns about at -O3.
    uint64_t lanes[8];
    _mm512_storeu_si512(lanes, _mm512_add_epi64(a, b));
    uint64_t sum = 0;
    for (uint64_t lane : lanes)
        sum += lane;
    return static_cast<uint32_t>(sum);
}

#else

// Other CPUs never choose these paths; the plain loop sums their bytes.
uint32_t byte_sum_sse2(const uint8_t *, uint32_t)
{
    return 0;
}

uint32_t byte_sum_avx512(const uint8_t *, uint32_t)
{
    return 0;
}

#endif
