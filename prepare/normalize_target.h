// normalize_target.h -- turns the loaded target file into the working image
#ifndef PATCHER_NORMALIZE_TARGET_H
#define PATCHER_NORMALIZE_TARGET_H

#include <cstdint>

// Refuses a patch file chosen as the target, steps over a 512-byte copier header or a 256-byte
// disk header, and converts an interleaved cartridge image to linear order in place.
// On entry *length is the number of bytes loaded into buffer. Returns the start of the working
// image and sets *length to its length; returns null with *length 0 when the file is a patch,
// which the caller tells the user with the box below. Reads no byte at or past buffer + *length.
uint8_t *normalize_target(uint8_t *buffer, uint32_t *length);

// The box for a patch file chosen as the target.
extern const char patch_as_target_title[];
extern const char patch_as_target_text[];

#endif
