// inflate_zlib.cpp -- raw deflate by zlib's inflate, its memory from a fixed static arena
//
// zlib asks for its memory through zalloc: for one inflate stream that is its state and, once the
// first block needs it, the 32 KiB window. Here both come from one static arena by bumping a
// pointer; zfree does nothing, and every inflate_deflate starts the arena over, so nothing is ever
// taken from the heap and nothing is left behind.
#include "host/inflate_deflate.h"

#include <zlib.h>

#include <cstring>

namespace {

const int raw_deflate = -15; // windowBits: no zlib header, the largest window (32 KiB), as zip uses
const uint32_t arena_alignment = 16; // enough for any type zlib keeps in what it allocates
// The state of one inflate stream is about 7 KiB (its tables and code lengths) and its window 32
// KiB; 64 KiB leaves room for a zlib built with larger structures.
const uint32_t arena_size = 64 * 1024;

alignas(arena_alignment) uint8_t arena[arena_size];
uint32_t arena_used = 0;

voidpf arena_alloc(voidpf, uInt items, uInt size)
{
    const uint64_t bytes = (uint64_t(items) * size + arena_alignment - 1) / arena_alignment * arena_alignment;
    if (bytes > arena_size - arena_used)
        return Z_NULL; // zlib reports Z_MEM_ERROR, taken as data it cannot read
    void *block = arena + arena_used;
    arena_used += uint32_t(bytes);
    return block;
}

void arena_free(voidpf, voidpf) {}

} // namespace

// zlib takes lengths as uInt, which is 32 bits wherever zlib runs.
int64_t inflate_deflate(const uint8_t *data, uint32_t data_length, uint8_t *out, uint32_t room)
{
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    stream.zalloc = arena_alloc;
    stream.zfree = arena_free;
    arena_used = 0;
    if (inflateInit2(&stream, raw_deflate) != Z_OK)
        return -1;
    stream.next_in = const_cast<Bytef *>(data); // zlib's interface predates const
    stream.avail_in = data_length;
    stream.next_out = out;
    stream.avail_out = room;
    // With all input and all room given, one call runs until the stream ends, the input runs out,
    // the room is full or the data is found broken.
    const int status = inflate(&stream, Z_FINISH);
    const uint32_t length = uint32_t(stream.total_out);
    inflateEnd(&stream);
    // Once the room is full nothing more is read: a fault there, which zlib may already have met
    // while filling the last byte, is left for no one to see, as it would be a few bytes further on.
    return length == room || status == Z_STREAM_END ? int64_t(length) : -1;
}
