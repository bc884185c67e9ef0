// harness.h -- what the fuzz harnesses share: large images described by small inputs, signatures
// forced on them, a scratch folder, scripted runs with stream faults, and the program's box titles
#pragma once

#include "identify/checksums.h"
#include "identify/crc32_tables.h"
#include "workflow/platform_scripted.h"
#include "workflow/stream_faults.h"

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
    static uint8_t *area = static_cast<uint8_t *>(std::malloc(capacity)); // one for every run
    uint8_t *image = area + capacity - length;
    std::fill_n(image, length, take(in, 1));
    while (length > 0 && in.size() >= 4)
        for (uint32_t at = take(in, 3), count = take(in, 1); count > 0 && !in.empty(); count--)
            image[at++ % length] = take(in, 1);
    return image;
}

// Gives the image the CRC-32 value (kind 1) or the byte sum value (kind 2). A CRC-32 takes the last
// four bytes: the register is run back from the wanted end, each step found by the top byte of its
// table entry. A sum moves bytes from the end, as far as bytes from 0x200 on allow, so that the
// cartridge header in front stays as the input laid it.
inline void force_signature(uint8_t *image, uint32_t length, uint32_t kind, uint32_t value)
{
    uint32_t state = ~value, before = kind == 1 ? ~crc32_buffer(image, length - 4) : 0;
    for (uint32_t step = 0, j = 0; kind == 1 && step < 4; step++, j = 0) {
        while (crc32_tables.entry[0][j] >> 24 != state >> 24)
            j++;
        state = (state ^ crc32_tables.entry[0][j]) << 8 | j;
    }
    for (uint32_t i = 0; kind == 1 && i < 4; i++)
        image[length - 4 + i] = static_cast<uint8_t>((state ^ before) >> 8 * i);
    uint32_t now = kind == 2 ? byte_sum(image, length) : value;
    for (uint32_t i = length; now != value && i-- > 0x200;) {
        uint8_t set = std::clamp<int64_t>(int32_t(value - now) + int64_t(image[i]), 0, 255);
        now += set - image[i];
        image[i] = set;
    }
}

// A folder of the harness's own, in memory where there can be one; it goes with all in it at exit.
inline const std::string &scratch()
{
    static const std::string &folder = *new std::string([] { // kept to the end for the exit handler
        std::string path = "/dev/shm/patcher-fuzz-XXXXXX";
        if (!mkdtemp(path.data()) && !mkdtemp((path = "/tmp/patcher-fuzz-XXXXXX").data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(scratch()); });
        return path;
    }());
    return folder;
}

// Calls run with arguments in folder, where a title's patch is looked up by its bare name; the
// fuzzer's own relative paths need the first folder back afterwards.
template <class F, class... Args> int32_t in_folder(const std::string &folder, F run, Args... args)
{
    static const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    int32_t result = run(args...);
    std::filesystem::current_path(home);
    return result;
}

// Starts a scripted run: the answers queued for the dialogs in order, and the stream fault that a
// 2-byte field names armed in place of the last run's: the low byte its kind (none past the last
// kind), bits 8-13 its countdown less one, bit 15 set when it persists.
inline void stage(std::initializer_list<std::string> answers, uint32_t fault)
{
    script_reset();
    fault_clear();
    for (const std::string &answer : answers)
        script_answer(answer);
    if ((fault & 0xFF) < fault_kind_count)
        fault_arm(stream_fault_kind(fault & 0xFF), 1 + (fault >> 8 & 0x3F), fault >> 15);
}

// True when every box shown since the reset has one of the program's titles.
inline bool boxes_known()
{
    std::string titles = "|Error|User error|Warning|Unrecognized source file|Unrecognized patch|";
    return std::all_of(script_events().begin(), script_events().end(), [&](const script_event &e) {
        return e.kind != "box" || titles.find("|" + e.title + "|") != std::string::npos;
    });
}
