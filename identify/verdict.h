// verdict.h -- what identification or verification decided, as plain data for the driver to act on
//
// The deciding code shows nothing and loads nothing; the driver carries a verdict out, always in
// this order: the box (when it has a title), the CRC-32 on the clipboard (when report_crc), the
// save pattern (when save_filter is set), and the title's own patch by name (when patch_name is
// set). Then the run stops (stop: the box has said why) or goes on.
#ifndef PATCHER_VERDICT_H
#define PATCHER_VERDICT_H

#include <cstdint>

struct verdict {
    int32_t stop;            // 1: the run ends here
    const char *box_title;   // null: no box
    const char *box_text;
    int32_t report_crc;      // 1: crc goes to the clipboard, for the user to report
    uint32_t crc;
    const char *save_filter; // null: the save pattern stays as it is
    const char *patch_name;  // null: no patch of the title's own to load
};

#endif
