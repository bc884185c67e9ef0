// run_patcher.h -- one pass of the patcher, from choosing the target to saving the result
#ifndef PATCHER_RUN_PATCHER_H
#define PATCHER_RUN_PATCHER_H

#include <cstdint>

// Carries one target file through every stage, stopping at the first that fails or that the user
// cancels. Returns 1 when the patched image was written whole, 0 in every other case.
int32_t run_patcher();

#endif
