// inflate_web.cpp -- inflate_entry in the browser edition, by the browser's own DecompressionStream
//
// The page has no zlib of its own: the browser inflates raw deflate data ("deflate-raw") as a
// stream, and the bytes are taken from it only up to the capacity and one more, then the stream is
// cancelled, so a bomb costs no more than the capacity here either. Stored entries are copied.
#include "host/inflate.h"

#include "identify/checksums.h"

#include <cstring>
#include <emscripten.h>

namespace {

const uint16_t method_stored = 0;
const uint16_t method_deflated = 8;

// Inflates data into out, at most room bytes; the bytes written, or -1 when the data is broken.
EM_ASYNC_JS(int32_t, page_inflate, (const uint8_t *data, uint32_t data_length, uint8_t *out, uint32_t room), {
    const input = HEAPU8.slice(data, data + data_length);
    const reader = new Blob([input]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
    let written = 0;
    try {
        for (;;) {
            const { done, value } = await reader.read();
            if (done)
                return written;
            const take = Math.min(value.length, room - written);
            HEAPU8.set(value.subarray(0, take), out + written);
            written += take;
            if (written === room) {
                reader.cancel().catch(() => {});
                return written;
            }
        }
    } catch (error) {
        return -1;
    }
});

} // namespace

inflate_outcome inflate_entry(const uint8_t *data, uint32_t data_length, uint16_t method, uint8_t *out,
                              uint32_t capacity)
{
    inflate_outcome outcome = {inflate_result::unsupported_method, 0, 0};
    if (method == method_stored) {
        outcome.length = data_length < capacity + 1 ? data_length : capacity + 1;
        std::memcpy(out, data, outcome.length);
    } else if (method == method_deflated) {
        const int32_t written = page_inflate(data, data_length, out, capacity + 1);
        if (written < 0) {
            outcome.result = inflate_result::damaged;
            return outcome;
        }
        outcome.length = static_cast<uint32_t>(written);
    } else {
        return outcome;
    }
    outcome.result = outcome.length > capacity ? inflate_result::cut : inflate_result::ok;
    outcome.crc = crc32_buffer(out, outcome.length);
    return outcome;
}
