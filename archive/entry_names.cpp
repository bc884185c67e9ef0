// entry_names.cpp -- converts entry names to UTF-8 and tells folders and macOS metadata apart
#include "archive/entry_names.h"

#include "archive/archive_listing.h"

#include <cstring>

namespace {

// Code page 437's upper half, 0x80 to 0xFF, as Unicode code points: accented letters, box drawing,
// Greek letters and mathematical signs. Its lower half is ASCII where names can use it.
const uint16_t cp437_upper[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 0x88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, // 0x98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // 0xA0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // 0xA8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // 0xB0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, // 0xB8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, // 0xC8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // 0xD0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, // 0xD8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // 0xE0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, // 0xE8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // 0xF0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, // 0xF8
};

const uint8_t ascii_space = 0x20; // bytes below it are control codes
const uint8_t ascii_delete = 0x7F; // a control code too
const char shown_instead = '?';   // for a control byte or a byte that is no UTF-8

// Length of the well-formed UTF-8 sequence at p (RFC 3629: no overlong forms, no surrogates,
// nothing above U+10FFFF), 0 when the bytes there are none.
uint32_t utf8_sequence(const uint8_t *p, uint32_t left)
{
    if (p[0] < 0x80)
        return 1;
    // Lead bytes C2..DF take one continuation byte, E0..EF two, F0..F4 three; the second byte's
    // range is narrowed after E0 (overlong), ED (surrogates), F0 (overlong) and F4 (past U+10FFFF).
    const uint32_t length = p[0] >= 0xC2 && p[0] <= 0xDF ? 2 : p[0] >= 0xE0 && p[0] <= 0xEF ? 3
                            : p[0] >= 0xF0 && p[0] <= 0xF4                            ? 4
                                                                                       : 0;
    if (length == 0 || length > left)
        return 0;
    const uint8_t low = p[0] == 0xE0 ? 0xA0 : p[0] == 0xF0 ? 0x90 : 0x80;
    const uint8_t high = p[0] == 0xED ? 0x9F : p[0] == 0xF4 ? 0x8F : 0xBF;
    if (p[1] < low || p[1] > high)
        return 0;
    for (uint32_t i = 2; i < length; i++)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// 1 when the whole name is well-formed UTF-8 with at least one byte above 0x7F.
int32_t reads_as_utf8(const uint8_t *name, uint32_t length)
{
    int32_t wide = 0;
    for (uint32_t at = 0, step; at < length; at += step) {
        step = utf8_sequence(name + at, length - at);
        if (step == 0)
            return 0;
        wide |= step > 1;
    }
    return wide;
}

// Appends code point as UTF-8 at out + *used unless it would pass the name limit; 0 then.
int32_t append(char *out, uint32_t *used, uint32_t code)
{
    uint8_t bytes[3]; // the code pages here reach no further than U+FFFF
    const uint32_t length = code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
    if (length == 1)
        bytes[0] = uint8_t(code);
    else if (length == 2)
        bytes[0] = uint8_t(0xC0 | code >> 6), bytes[1] = uint8_t(0x80 | (code & 0x3F));
    else
        bytes[0] = uint8_t(0xE0 | code >> 12), bytes[1] = uint8_t(0x80 | (code >> 6 & 0x3F)),
        bytes[2] = uint8_t(0x80 | (code & 0x3F));
    if (*used + length > archive_name_limit)
        return 0;
    std::memcpy(out + *used, bytes, length);
    *used += length;
    return 1;
}

} // namespace

void name_to_utf8(const uint8_t *name, uint32_t length, name_encoding encoding, char *out)
{
    const int32_t utf8 = encoding == name_encoding::utf8 || reads_as_utf8(name, length);
    uint32_t used = 0;
    for (uint32_t at = 0, step = 1; at < length; at += step) {
        const uint8_t byte = name[at];
        step = utf8 ? utf8_sequence(name + at, length - at) : 1;
        if (byte < ascii_space || byte == ascii_delete || step == 0) {
            step = 1;
            if (!append(out, &used, uint8_t(shown_instead)))
                break;
        } else if (step > 1 || byte < 0x80) { // UTF-8 as it stands
            if (used + step > archive_name_limit)
                break;
            std::memcpy(out + used, name + at, step);
            used += step;
        } else if (!append(out, &used,
                           encoding == name_encoding::cp437_unless_utf8 ? cp437_upper[byte - 0x80]
                                                                        : byte)) // 8859-1
            break;
    }
    out[used] = 0;
}

int32_t name_is_ignored(const uint8_t *name, uint32_t length)
{
    const char macos_folder[] = "__MACOSX/";      // where macOS's Archive Utility puts metadata
    const char fork_prefix[] = "._";              // AppleDouble resource forks and attributes
    const char finder_file[] = ".DS_Store";       // the Finder's view settings of a folder
    if (length == 0 || name[length - 1] == '/' || name[length - 1] == '\\')
        return 1;
    if (length >= sizeof macos_folder - 1 && std::memcmp(name, macos_folder, sizeof macos_folder - 1) == 0)
        return 1;
    uint32_t base = length; // the last path element starts behind the last separator
    while (base > 0 && name[base - 1] != '/' && name[base - 1] != '\\')
        base--;
    const uint8_t *file = name + base;
    const uint32_t file_length = length - base;
    return (file_length >= 2 && std::memcmp(file, fork_prefix, 2) == 0) ||
           (file_length == sizeof finder_file - 1 && std::memcmp(file, finder_file, file_length) == 0);
}
