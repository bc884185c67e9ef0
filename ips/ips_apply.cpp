// ips_apply.cpp -- applies one IPS patch to an image in place, strictly in bounds
//
// An IPS patch is "PATCH", then records, then "EOF" where the next record's offset would stand.
// All numbers are big-endian. A plain record is a 3-byte offset, a 2-byte size (1..65535) and that
// many data bytes; a run-length record has size 0 and is followed by a 2-byte count and a fill byte.
// Every record must lie wholly inside the image: a patch that would extend the image is an error.
#include "ips/ips_apply.h"

#include <cstring>

namespace {

const uint8_t header[5] = {'P', 'A', 'T', 'C', 'H'};
const uint32_t header_length = 5;
const uint32_t eof_marker = 0x454F46; // "EOF" read as an offset ends the patch
const uint32_t offset_length = 3;
const uint32_t size_length = 2;
const uint32_t run_tail_length = 3; // 2-byte count and 1 fill byte

uint32_t read_be(const uint8_t *p, uint32_t bytes)
{
    uint32_t value = 0;
    for (uint32_t i = 0; i < bytes; i++)
        value = (value << 8) | p[i];
    return value;
}

} // namespace

int32_t ips_apply(uint8_t *image, const uint8_t *patch, uint32_t image_length,
                  uint32_t patch_length)
{
    if (patch_length < header_length + 1)
        return 0;
    if (std::memcmp(patch, header, header_length) != 0)
        return 0;

    // cursor counts the bytes consumed; patch_length - cursor is what remains, never negative
    uint32_t cursor = header_length;
    for (;;) {
        if (patch_length - cursor < offset_length) // also a patch that ends without its "EOF"
            return 0;
        uint32_t offset = read_be(patch + cursor, offset_length);
        cursor += offset_length;
        if (offset == eof_marker) // recognised before the offset meets the image length
            return 1;
        if (offset >= image_length)
            return 0;

        if (patch_length - cursor < size_length)
            return 0;
        uint32_t size = read_be(patch + cursor, size_length);
        cursor += size_length;

        if (size != 0) {
            if (patch_length - cursor < size)
                return 0;
            if (offset + size > image_length) // no overflow: offset < 2^24, size < 2^16
                return 0;
            std::memcpy(image + offset, patch + cursor, size);
            cursor += size;
        } else {
            if (patch_length - cursor < run_tail_length)
                return 0;
            uint32_t count = read_be(patch + cursor, size_length);
            uint8_t fill = patch[cursor + size_length];
            cursor += run_tail_length;
            if (count == 0)
                return 0;
            if (offset + count > image_length)
                return 0;
            std::memset(image + offset, fill, count);
        }
    }
}
