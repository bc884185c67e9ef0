// load_named_patch.h -- loads the patch that a recognised title brings, by its fixed file name
#ifndef PATCHER_LOAD_NAMED_PATCH_H
#define PATCHER_LOAD_NAMED_PATCH_H

#include <cstdint>

// Loads a title's own patch, by its fixed name, into patch_buffer; returns the bytes loaded, 0 when
// none were. Its absence is no error, so it is not reported. A patch named on the command line
// stands in for it.
uint32_t load_named_patch(const char *name);

#endif
