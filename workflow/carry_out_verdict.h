// carry_out_verdict.h -- acts on what identification or verification decided
#ifndef PATCHER_CARRY_OUT_VERDICT_H
#define PATCHER_CARRY_OUT_VERDICT_H

#include "identify/verdict.h"

#include <cstdint>

// Shows the verdict's box, puts its CRC-32 on the clipboard as "0x%08X", switches save_filter and
// loads the title's own patch into patch_buffer, in that order, each only when the verdict asks
// for it. A patch named on the command line stands in for the title's own; the title's own patch
// that is not beside the image is no error, and the user is asked for one. Returns -1 when the
// run stops here, else the number of patch bytes loaded (0 when none were).
int32_t carry_out_verdict(const verdict *decided);

#endif
