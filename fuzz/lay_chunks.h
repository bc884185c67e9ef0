// lay_chunks.h -- lets a small fuzz input describe a large buffer: chunks of input bytes laid over
// a prepared background
#ifndef PATCHER_FUZZ_LAY_CHUNKS_H
#define PATCHER_FUZZ_LAY_CHUNKS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads data from at on as chunks: a 3-byte little-endian offset (modulo length), a count byte,
// then that many bytes, copied to buffer at the offset. A chunk is cut at the end of the input and
// at the end of the buffer. An empty buffer takes nothing.
inline void lay_chunks(uint8_t *buffer, uint32_t length, const uint8_t *data, size_t size, size_t at)
{
    while (length > 0 && at + 4 <= size) {
        uint32_t offset = (data[at] | data[at + 1] << 8 | uint32_t(data[at + 2]) << 16) % length;
        size_t count = data[at + 3];
        at += 4;
        if (count > size - at)
            count = size - at;
        if (count > length - offset)
            count = length - offset;
        std::memcpy(buffer + offset, data + at, count);
        at += count;
    }
}

#endif
