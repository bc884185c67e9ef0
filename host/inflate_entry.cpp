// inflate_entry.cpp -- one archive entry's data into a caller's buffer: a stored entry copied, a
// deflated one through the build's inflater, either one stopped a byte past the capacity
#include "host/inflate.h"

#include "host/inflate_deflate.h"
#include "identify/checksums.h"

#include <cstring>

namespace {

const uint16_t method_stored = 0;
const uint16_t method_deflated = 8;

} // namespace

inflate_outcome inflate_entry(const uint8_t *data, uint32_t data_length, uint16_t method, uint8_t *out,
                              uint32_t capacity)
{
    const uint32_t room = capacity + 1; // the byte past the capacity tells that the entry is longer
    int64_t length;
    if (method == method_stored) {
        length = data_length < room ? data_length : room;
        if (length > 0) // an empty entry may come with no data pointer at all
            std::memcpy(out, data, size_t(length));
    } else if (method == method_deflated) {
        length = inflate_deflate(data, data_length, out, room);
    } else {
        return {inflate_result::unsupported_method, 0, 0};
    }
    if (length < 0)
        return {inflate_result::damaged, 0, 0};
    const uint32_t written = uint32_t(length);
    return {written > capacity ? inflate_result::cut : inflate_result::ok, written, crc32_buffer(out, written)};
}
