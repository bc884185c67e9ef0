// harness.h -- what the fuzz harnesses share: large images described by small inputs, the one way
// a harness reports a broken property, and the folders runs work in
#pragma once

#include "identify/checksums.h"
#include "support/crc_forge.h"
#include "support/platform_scripted.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

// Takes a little-endian number of count bytes from the front of the input; missing bytes read as 0.
inline uint32_t take(std::string_view &in, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; i < count && !in.empty(); i++, in.remove_prefix(1))
        value |= uint32_t(uint8_t(in[0])) << 8 * i;
    return value;
}

// The image of length bytes that the rest of the input describes, at the end of a heap block of
// capacity bytes so that AddressSanitizer sees any look past it: a fill byte, then chunks laid over
// it, each a 3-byte offset (modulo length), a count byte and that many bytes, wrapping at the end.
inline uint8_t *make_image(uint32_t length, uint32_t capacity, std::string_view in)
{
    static uint8_t *const area = static_cast<uint8_t *>(std::malloc(capacity)); // one for every run
    uint8_t *image = area + capacity - length;
    std::fill_n(image, length, uint8_t(take(in, 1))); // a byte, so that it is one memset
    while (length > 0 && in.size() >= 4)
        for (uint32_t at = take(in, 3), count = take(in, 1); count > 0 && !in.empty(); count--)
            image[at++ % length] = take(in, 1);
    return image;
}

// Stops the fuzzer with a finding unless holds, or when a box shown since the last script_reset
// has a title that is none of the program's.
inline void check(bool holds)
{
    const std::string titles = "|Error|User error|Warning|Unrecognized source file|Unrecognized patch|";
    for (const script_event &e : script_events())
        holds = holds && (e.kind != "box" || titles.find("|" + e.title + "|") != std::string::npos);
    if (!holds)
        std::abort();
}

// A folder of the harness's own, in memory where there can be one; it goes with all in it at exit.
inline std::string scratch()
{
    static char shm[] = "/dev/shm/patcher-fuzz-XXXXXX", tmp[] = "/tmp/patcher-fuzz-XXXXXX";
    static const char *const folder = mkdtemp(shm) ? shm : mkdtemp(tmp); // still there at exit
    static const bool made = folder && !std::atexit([] { std::filesystem::remove_all(folder); });
    check(made);
    return folder;
}

// The folder the fuzzer started in: its own relative paths (corpus, findings) need it back after a
// run that changed folders, before the next input.
inline const std::filesystem::path home = std::filesystem::current_path();
