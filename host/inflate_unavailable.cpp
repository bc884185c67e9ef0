// inflate_unavailable.cpp -- inflate_entry where no decompressor is built in yet (the browser
// edition, until the page's own decompression stands behind it): every entry is refused unread
#include "host/inflate.h"

inflate_outcome inflate_entry(const uint8_t *, uint32_t, uint16_t, uint8_t *, uint32_t)
{
    return {inflate_result::unsupported_method, 0, 0};
}
