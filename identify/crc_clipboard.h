// crc_clipboard.h -- puts an image's CRC-32 on the clipboard in the form users report it in
#ifndef PATCHER_CRC_CLIPBOARD_H
#define PATCHER_CRC_CLIPBOARD_H

#include <cstdint>

// Places "0x" and the CRC in eight upper-case hexadecimal digits, leading zeros shown.
void copy_crc_to_clipboard(uint32_t crc);

#endif
