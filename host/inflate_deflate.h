// inflate_deflate.h -- raw deflate data through the build's own inflater: zlib, or the browser's
#ifndef PATCHER_INFLATE_DEFLATE_H
#define PATCHER_INFLATE_DEFLATE_H

#include <cstdint>

// Inflates data (data_length bytes of raw deflate, as zip and gzip hold it) into out, and stops at
// the end of the data or once room bytes are out. Returns the bytes written; -1 when the data is
// broken, or ends before its last block, with out not yet full.
int64_t inflate_deflate(const uint8_t *data, uint32_t data_length, uint8_t *out, uint32_t room);

#endif
