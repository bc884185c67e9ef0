// inflate.h -- one archive entry's data decompressed into a caller's buffer, never past a bound
#ifndef PATCHER_INFLATE_H
#define PATCHER_INFLATE_H

#include <cstdint>

enum class inflate_result : uint8_t {
    ok,                 // the whole content, length bytes
    cut,                // more than capacity bytes: capacity + 1 were written, and no more made
    damaged,            // the deflate data is broken, or ends before its last block
    unsupported_method, // neither stored (0) nor deflated (8)
};

struct inflate_outcome {
    inflate_result result;
    uint32_t length; // bytes written to out
    uint32_t crc;    // CRC-32 of those bytes, to compare with the archive's
};

// Decompresses data (data_length bytes, of the zip method given: 0 stored, 8 raw deflate, which
// is also a gzip member's) into out, which has room for capacity + 1 bytes. It stops at the end of
// the data or once capacity + 1 bytes are out, so time and memory stay bounded by the data and the
// capacity whatever sizes the archive declares. capacity is below 2^32 - 1; one entry at a time, as
// zlib's memory is one static arena.
inflate_outcome inflate_entry(const uint8_t *data, uint32_t data_length, uint16_t method, uint8_t *out,
                              uint32_t capacity);

#endif
