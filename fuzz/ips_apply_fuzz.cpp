// ips_apply_fuzz.cpp -- ips_apply on any image and any patch: strictly in bounds, and exactly what a
// plain reading of the format gives
//
// Input: a 2-byte big-endian number that splits the rest into the image (at least one byte) and
// the patch. The image sits between guard bytes that must come through untouched; the patch is the
// tail of the fuzzer's own buffer, so AddressSanitizer sees any read past its end.
#include "ips/ips_apply.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const size_t split_length = 2;  // the big-endian image length selector in front
const size_t guard_length = 64; // bytes on each side of the image that no record may reach
const uint8_t guard_value = 0xA5;
const uint32_t end_marker = 0x454F46; // "EOF" where the next record's offset would stand

struct reference_result {
    int32_t result;
    size_t marker_at; // where the "EOF" that ended the patch stands, when result is 1
};

// The format read the slow, obvious way, record by record on a vector: the expected image (with
// every record before a fault applied) and result.
reference_result reference_apply(std::vector<uint8_t> &image, const uint8_t *patch, size_t length)
{
    size_t at = 5;
    if (length < 6 || std::memcmp(patch, "PATCH", 5) != 0)
        return {0, 0};
    for (;;) {
        if (length - at < 3)
            return {0, 0};
        size_t offset = size_t(patch[at]) << 16 | size_t(patch[at + 1]) << 8 | patch[at + 2];
        if (offset == end_marker)
            return {1, at};
        at += 3;
        if (offset >= image.size() || length - at < 2)
            return {0, 0};
        size_t size = size_t(patch[at]) << 8 | patch[at + 1];
        at += 2;
        if (size > 0) {
            if (length - at < size || offset + size > image.size())
                return {0, 0};
            for (size_t i = 0; i < size; i++)
                image[offset + i] = patch[at + i];
            at += size;
        } else {
            if (length - at < 3)
                return {0, 0};
            size_t count = size_t(patch[at]) << 8 | patch[at + 1];
            uint8_t fill = patch[at + 2];
            at += 3;
            if (count == 0 || offset + count > image.size())
                return {0, 0};
            for (size_t i = 0; i < count; i++)
                image[offset + i] = fill;
        }
        if (at == length)
            return {0, 0};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < split_length + 1)
        return 0;
    size_t rest = size - split_length;
    size_t image_length = 1 + (size_t(data[0]) << 8 | data[1]) % rest;
    const uint8_t *image_bytes = data + split_length;
    const uint8_t *patch = image_bytes + image_length;
    size_t patch_length = rest - image_length;

    std::vector<uint8_t> guarded(guard_length + image_length + guard_length, guard_value);
    std::memcpy(guarded.data() + guard_length, image_bytes, image_length);
    std::vector<uint8_t> expected(image_bytes, image_bytes + image_length);

    int32_t result = ips_apply(guarded.data() + guard_length, patch,
                               static_cast<uint32_t>(image_length),
                               static_cast<uint32_t>(patch_length));
    reference_result reference = reference_apply(expected, patch, patch_length);

    if (result != 0 && result != 1)
        std::abort();
    for (size_t i = 0; i < guard_length; i++)
        if (guarded[i] != guard_value || guarded[guard_length + image_length + i] != guard_value)
            std::abort(); // a write outside the image
    if (result != reference.result)
        std::abort();
    if (result == 1 && (reference.marker_at + 3 > patch_length ||
                        std::memcmp(patch + reference.marker_at, "EOF", 3) != 0))
        std::abort(); // success without an end marker inside the patch
    if (std::memcmp(guarded.data() + guard_length, expected.data(), image_length) != 0)
        std::abort(); // records applied differently from the format
    return 0;
}
