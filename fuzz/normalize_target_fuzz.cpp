// normalize_target_fuzz.cpp -- normalize_target on any loaded file of up to a few hundred KiB:
// it reads only the loaded bytes, and its working image is exactly what the layouts make of them
//
// Input, so that small inputs can describe large files:
//   0..2    the loaded length, little-endian, modulo largest_load + 1
//   3       the seed of the background that fills the file (a position-dependent pattern, so
//           that a block converted wrongly shows)
//   4..     chunks laid over the background in order: a 3-byte little-endian offset (modulo
//           the length), a count byte, then that many bytes (cut at the file's end)
// The loaded bytes end exactly where their heap block ends, so AddressSanitizer reports a probe
// that looks past the loaded data.
#include "fuzz/lay_chunks.h"
#include "prepare/normalize_target.h"
#include "workflow/platform_scripted.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const uint32_t largest_load = 0x50000; // 320 KiB: past the 256 KiB minimum plus either header
const size_t header_length = 4;
const uint32_t half_block = 0x2000;
const uint32_t block = 2 * half_block;
const char patch_refusal[] = "You loaded a patch file.\n\nYou're supposed to load the target file "
                             "first for identification purposes.\n\nPlease try again.";

// True when text stands at offset wholly inside the first length bytes of data.
bool has(const uint8_t *data, uint32_t length, uint32_t offset, const char *text)
{
    size_t n = std::strlen(text);
    return offset + n <= length && std::memcmp(data + offset, text, n) == 0;
}

// How many header bytes the layouts strip from a file of this content.
uint32_t expected_strip(const uint8_t *file, uint32_t length)
{
    if (length % 4096 == 512 &&
        (has(file, length, 0x300, "SEGA") ||
         (has(file, length, 0x280, "EA") && has(file, length, 0x2280, "SG"))))
        return 512;
    if (length % 4096 == 256 &&
        (has(file, length, 0x102, "Hudson soft") || has(file, length, 0xAB, "DIFC HEADER")))
        return 256;
    return 0;
}

// The image in linear order: within each whole 16 KiB block the second half goes to the even
// positions and the first half to the odd ones; a partial block stays as it is.
void linear_order(const uint8_t *image, uint32_t length, uint8_t *out)
{
    std::memcpy(out, image, length);
    for (uint32_t b = 0; b + block <= length; b += block)
        for (uint32_t i = 0; i < half_block; i++) {
            out[b + 2 * i] = image[b + half_block + i];
            out[b + 2 * i + 1] = image[b + i];
        }
}

uint8_t *block_of(size_t size)
{
    uint8_t *p = static_cast<uint8_t *>(std::malloc(size));
    if (!p)
        std::abort();
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Blocks made once and reused: a fresh 320 KiB per run would cost more than the run itself.
    static uint8_t *background = nullptr, *file, *area, *expected;
    if (!background) {
        background = block_of(largest_load + 256);
        for (uint32_t i = 0; i < largest_load + 256; i++)
            background[i] = static_cast<uint8_t>(i * 7 + (i >> 13));
        file = block_of(largest_load);
        area = block_of(largest_load);
        expected = block_of(largest_load);
    }
    if (size < header_length)
        return 0;
    const uint32_t length = (data[0] | data[1] << 8 | uint32_t(data[2]) << 16) % (largest_load + 1);

    std::memcpy(file, background + data[3], length);
    lay_chunks(file, length, data, size, header_length);

    // The loaded bytes end where their heap block ends.
    uint8_t *loaded = area + (largest_load - length);
    std::memcpy(loaded, file, length);

    script_reset();
    uint32_t working_length = length;
    uint8_t *start = normalize_target(loaded, &working_length);
    const std::vector<script_event> &events = script_events();

    if (has(file, length, 0, "PATCH")) {
        // Refused, told once, and nothing touched.
        if (start != nullptr || working_length != 0 || events.size() != 1 ||
            events[0].kind != "box" || events[0].title != "User error" ||
            events[0].text != patch_refusal)
            std::abort();
        if (std::memcmp(loaded, file, length) != 0)
            std::abort();
        return 0;
    }
    if (start == nullptr || !events.empty())
        std::abort(); // only a patch is refused, and nothing else says a word

    // The working image lies inside the loaded data, behind exactly the header the layouts name.
    const uint32_t strip = expected_strip(file, length);
    if (start != loaded + strip || working_length != length - strip)
        std::abort();
    // The header stays as it was in front of the image.
    if (std::memcmp(loaded, file, strip) != 0)
        std::abort();
    // The image is converted exactly when it carries the interleave marker.
    const uint8_t *image = file + strip;
    if (has(image, working_length, 0x80, "EA") && has(image, working_length, 0x2080, "SG")) {
        linear_order(image, working_length, expected);
        image = expected;
    }
    if (std::memcmp(start, image, working_length) != 0)
        std::abort();
    return 0;
}
