// given_files.h -- the image and the patch named on the command line, each opened and read once
#ifndef PATCHER_GIVEN_FILES_H
#define PATCHER_GIVEN_FILES_H

#include "workflow/command_line.h"

#include <cstdint>

// Reads the count (1 or 2) files named on the command line, each once, into the buffer of its
// kind: the one whose bytes start with "PATCH", or a zip or gzip file holding a patch and no image,
// is the patch, the other the image, and when one cannot be read the other's bytes tell what each
// is. An archive's entry is taken out at once; its boxes wait for its stage. Sets given.image and given.patch. Two
// images or two patches are a usage error (reported here); a file that cannot be read is not:
// its load fails at its stage, as a chosen file's would.
command_outcome load_given_files(const char *const *files, uint32_t count);

// 1 when the command line gave the image: *length is then its bytes in target_buffer (0 when it
// could not be read), after the warning of a file cut to the capacity. 0 when the user is to
// choose it (after the box of an archive that gives no image); -1 when its archive is damaged,
// after the box that says so: the run ends.
int32_t take_given_image(uint32_t *length);

// The same for the patch, in patch_buffer.
int32_t take_given_patch(uint32_t *length);

#endif
