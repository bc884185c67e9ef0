// save_patched_file.h -- the last step of a run: asks for the output name and saves the image
#ifndef PATCHER_SAVE_PATCHED_FILE_H
#define PATCHER_SAVE_PATCHED_FILE_H

#include <cstdint>

// Asks for the output name under pattern (or takes the one the command line gave) and writes the
// image whole. Returns 1 when written, 0 on cancel or failure (a failure is reported here). The
// chosen file is replaced only by a complete copy of the image: a failed save leaves it as it was.
int32_t save_patched_file(const uint8_t *image, uint32_t length, const char *pattern);

#endif
