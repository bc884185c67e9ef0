// crc_clipboard.cpp -- formats a CRC-32 as "0x%08X" and hands it to the clipboard
#include "identify/crc_clipboard.h"

#include "host/host_services.h"

#include <cstdio>

namespace {

const uint32_t crc_text_size = 11; // "0x", eight digits and the terminating NUL

} // namespace

void copy_crc_to_clipboard(uint32_t crc)
{
    char text[crc_text_size];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(crc));
    copy_text_to_clipboard(text);
}
