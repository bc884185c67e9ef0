// normalize_target.cpp -- refuses a patch as the target, strips headers, undoes interleaving
//
// The working image is a view into the loaded file: stripping a header only moves its start, so
// the header bytes stay in front of it and are never written back. At most one header is stripped:
// after a copier header the length is a multiple of 4096, which no disk header leaves.
// Every marker is an exact byte comparison that matches only when all its bytes lie inside the
// loaded data, so short files pass through untouched.
#include "prepare/normalize_target.h"

#include "prepare/deinterleave_smd.h"

#include <cstring>

namespace {

// A header shows in the length: images are whole 4 KiB pages, so the remainder is the header.
const uint32_t page_mask = 0xFFF;

const uint32_t copier_header_length = 0x200;  // the copier's 512 bytes in front of a cartridge
const uint32_t copier_sega_at = 0x300;        // the cartridge header's "SEGA" (image 0x100) behind it
const uint32_t copier_interleaved_ea = 0x280; // 'E', 'A' of an interleaved "SEGA" behind it
const uint32_t copier_interleaved_sg = 0x2280; // 'S', 'G' of the same, in the block's even half

const uint32_t disk_header_length = 0x100; // 256 bytes in front of a floppy-disk image
const uint32_t disk_hudson_at = 0x102;     // text at offset 2 of the image's first sector
const uint32_t disk_difc_at = 0xAB;        // marker inside the header itself

const uint32_t interleaved_ea = 0x80;   // 'E', 'A' of "SEGA" (image 0x101, 0x103): the odd half
const uint32_t interleaved_sg = 0x2080; // 'S', 'G' of "SEGA" (image 0x100, 0x102): the even half

// True when the text stands at offset and lies wholly inside the length bytes of data.
bool marker_at(const uint8_t *data, uint32_t length, uint32_t offset, const char *text)
{
    const uint32_t text_length = static_cast<uint32_t>(std::strlen(text));
    if (offset > length || text_length > length - offset)
        return false;
    return std::memcmp(data + offset, text, text_length) == 0;
}

} // namespace

const char patch_as_target_title[] = "User error";
const char patch_as_target_text[] = "You loaded a patch file.\n\nYou're supposed to load the target "
                                    "file first for identification purposes.\n\nPlease try again.";

uint8_t *normalize_target(uint8_t *buffer, uint32_t *length)
{
    uint32_t image_length = *length;
    *length = 0;

    if (marker_at(buffer, image_length, 0, "PATCH"))
        return nullptr;

    uint8_t *start = buffer;
    if ((image_length & page_mask) == copier_header_length &&
        (marker_at(start, image_length, copier_sega_at, "SEGA") ||
         (marker_at(start, image_length, copier_interleaved_ea, "EA") &&
          marker_at(start, image_length, copier_interleaved_sg, "SG")))) {
        start += copier_header_length;
        image_length -= copier_header_length;
    }

    if ((image_length & page_mask) == disk_header_length &&
        (marker_at(start, image_length, disk_hudson_at, "Hudson soft") ||
         marker_at(start, image_length, disk_difc_at, "DIFC HEADER"))) {
        start += disk_header_length;
        image_length -= disk_header_length;
    }

    if (marker_at(start, image_length, interleaved_ea, "EA") &&
        marker_at(start, image_length, interleaved_sg, "SG"))
        deinterleave_smd(start, image_length);

    *length = image_length;
    return start;
}
