// crc32_clmul.cpp -- the CRC-32 register carried over 16-byte blocks by carry-less multiplication
//
// In the reflected domain the CRC register is a polynomial over GF(2), and the CRC of a message is
// the message times x^32 modulo the generator P. A 128-bit block followed by n more bits can be
// replaced by its two 64-bit halves multiplied by (x^(n+64) mod P) and (x^n mod P): the product
// has the same remainder. So four running 128-bit accumulators walk the buffer 64 bytes at a time,
// each folded forward by 512 bits onto the block 64 bytes later; at the end they are folded onto
// one another by 128 bits, and the last 128 bits are reduced to the 32-bit register, first to 64
// bits by one more fold and then by Barrett reduction with mu = x^64 / P. The constants are these
// powers of x modulo P, bit-reflected and shifted by one as the reflected multiply wants them.
// The register that comes out is exactly the one the byte-at-a-time definition would reach.
#include "identify/crc32_clmul.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

// x^(16*128+64) mod P and x^(16*128) mod P: fold each 128-bit lane forward across 2048 bits.
const uint64_t fold_2048[2] = {0x011542778a, 0x01322d1430};
// x^(4*128+64) mod P and x^(4*128) mod P: fold 128 bits forward across 512 bits.
const uint64_t fold_512[2] = {0x0154442bd4, 0x01c6e41596};
// x^(128+64) mod P and x^128 mod P: fold 128 bits forward across 128 bits.
const uint64_t fold_128[2] = {0x01751997d0, 0x00ccaa009e};
// x^64 mod P: fold the upper 32 of 96 bits onto the lower 64.
const uint64_t fold_64[2] = {0x0163cd6124, 0};
// P itself (0x104C11DB7 reflected, times x) and mu = x^64 / P (reflected): Barrett's reduction.
const uint64_t barrett[2] = {0x01db710641, 0x01f7011641};

#define CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))
#define WIDE_TARGET __attribute__((target("pclmul,sse4.1,avx512f,avx512vl,vpclmulqdq")))

CLMUL_TARGET inline __m128i constants(const uint64_t (&pair)[2])
{
    return _mm_set_epi64x(static_cast<long long>(pair[1]), static_cast<long long>(pair[0]));
}

// acc carried forward by the distance the constants k stand for, and data added in.
CLMUL_TARGET inline __m128i fold(__m128i acc, __m128i k, __m128i data)
{
    __m128i low = _mm_clmulepi64_si128(acc, k, 0x00);
    __m128i high = _mm_clmulepi64_si128(acc, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), data);
}

CLMUL_TARGET inline __m128i load(const uint8_t *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// The register after the accumulator a, then the 16-byte blocks from buffer to end.
CLMUL_TARGET uint32_t finish(__m128i a, const uint8_t *buffer, const uint8_t *end)
{
    const __m128i k128 = constants(fold_128);
    for (; end - buffer >= 16; buffer += 16)
        a = fold(a, k128, load(buffer));

    // 128 bits to 64: the low half carried past the high half, then the top 32 of the 96 bits
    // left carried onto the rest.
    const __m128i low_32 = _mm_setr_epi32(-1, 0, -1, 0);
    a = _mm_xor_si128(_mm_clmulepi64_si128(a, k128, 0x10), _mm_srli_si128(a, 8));
    a = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(a, low_32), constants(fold_64), 0x00),
                      _mm_srli_si128(a, 4));

    // Barrett: the quotient estimate from mu, times P, cancels all but the 32-bit remainder.
    const __m128i pm = constants(barrett);
    __m128i q = _mm_clmulepi64_si128(_mm_and_si128(a, low_32), pm, 0x10);
    q = _mm_clmulepi64_si128(_mm_and_si128(q, low_32), pm, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(a, q), 1));
}

// The same fold on the four 128-bit lanes of a 512-bit register at once.
WIDE_TARGET inline __m512i fold_wide(__m512i acc, __m512i k, __m512i data)
{
    __m512i low = _mm512_clmulepi64_epi128(acc, k, 0x00);
    __m512i high = _mm512_clmulepi64_epi128(acc, k, 0x11);
    return _mm512_ternarylogic_epi64(low, high, data, 0x96); // the three exclusive-ored
}

} // namespace

CLMUL_TARGET uint32_t crc32_clmul_update(uint32_t reg, const uint8_t *buffer, uint32_t length)
{
    const uint8_t *end = buffer + length;
    __m128i a = _mm_xor_si128(load(buffer), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i b = load(buffer + 16), c = load(buffer + 32), d = load(buffer + 48);
    buffer += 64;

    const __m128i k512 = constants(fold_512);
    for (; end - buffer >= 64; buffer += 64) {
        a = fold(a, k512, load(buffer));
        b = fold(b, k512, load(buffer + 16));
        c = fold(c, k512, load(buffer + 32));
        d = fold(d, k512, load(buffer + 48));
    }
    const __m128i k128 = constants(fold_128);
    return finish(fold(fold(fold(a, k128, b), k128, c), k128, d), buffer, end);
}

// Masks that keep every word: the masked forms of broadcast and extract, unlike the plain ones,
// start from zero rather than from an undefined register, which GCC 12 warns about at -O3.
const __mmask16 all_lanes = 0xFFFF;
const __mmask8 all_words = 0xFF;

// Four 512-bit accumulators, 256 bytes a step, then folded into one and its lanes into one.
WIDE_TARGET uint32_t crc32_wide_clmul_update(uint32_t reg, const uint8_t *buffer, uint32_t length)
{
    const uint8_t *end = buffer + length;
    const __m128i start = _mm_cvtsi32_si128(static_cast<int>(reg));
    __m512i a = _mm512_inserti32x4(_mm512_setzero_si512(), start, 0);
    a = _mm512_xor_si512(_mm512_loadu_si512(buffer), a);
    __m512i b = _mm512_loadu_si512(buffer + 64), c = _mm512_loadu_si512(buffer + 128);
    __m512i d = _mm512_loadu_si512(buffer + 192);
    buffer += 256;

    const __m512i k2048 = _mm512_maskz_broadcast_i32x4(all_lanes, constants(fold_2048));
    for (; end - buffer >= 256; buffer += 256) {
        a = fold_wide(a, k2048, _mm512_loadu_si512(buffer));
        b = fold_wide(b, k2048, _mm512_loadu_si512(buffer + 64));
        c = fold_wide(c, k2048, _mm512_loadu_si512(buffer + 128));
        d = fold_wide(d, k2048, _mm512_loadu_si512(buffer + 192));
    }
    const __m512i k512 = _mm512_maskz_broadcast_i32x4(all_lanes, constants(fold_512));
    a = fold_wide(fold_wide(fold_wide(a, k512, b), k512, c), k512, d);
    const __m128i k128 = constants(fold_128);
    __m128i x = _mm512_maskz_extracti32x4_epi32(all_words, a, 0);
    x = fold(x, k128, _mm512_maskz_extracti32x4_epi32(all_words, a, 1));
    x = fold(x, k128, _mm512_maskz_extracti32x4_epi32(all_words, a, 2));
    x = fold(x, k128, _mm512_maskz_extracti32x4_epi32(all_words, a, 3));
    return finish(x, buffer, end);
}

int32_t crc32_clmul_available()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

int32_t crc32_wide_clmul_available()
{
    // AVX-512BW is for the byte sum that goes with the CRC on this path.
    return crc32_clmul_available() && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("vpclmulqdq");
}

#else

// Other CPUs have no carry-less multiplication that these paths know: the tables serve them.
int32_t crc32_clmul_available()
{
    return 0;
}

int32_t crc32_wide_clmul_available()
{
    return 0;
}

uint32_t crc32_clmul_update(uint32_t reg, const uint8_t *, uint32_t)
{
    return reg;
}

uint32_t crc32_wide_clmul_update(uint32_t reg, const uint8_t *, uint32_t)
{
    return reg;
}

#endif
