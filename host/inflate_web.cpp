// inflate_web.cpp -- raw deflate in the browser edition, by the browser's own DecompressionStream
//
// The page has no zlib of its own: the browser inflates raw deflate data ("deflate-raw") as a
// stream, and the bytes are taken from it only up to the capacity and one more, then the stream is
// cancelled, so a bomb costs no more than the capacity here either.
#include "host/inflate_deflate.h"

#include <emscripten.h>

namespace {

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

int64_t inflate_deflate(const uint8_t *data, uint32_t data_length, uint8_t *out, uint32_t room)
{
    return page_inflate(data, data_length, out, room);
}
