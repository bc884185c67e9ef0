// little_endian.h -- the archive formats' little-endian numbers, read from any alignment
#ifndef PATCHER_LITTLE_ENDIAN_H
#define PATCHER_LITTLE_ENDIAN_H

#include <cstdint>

inline uint32_t read_le16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

inline uint32_t read_le32(const uint8_t *p) { return read_le16(p) | read_le16(p + 2) << 16; }

inline uint64_t read_le64(const uint8_t *p) { return read_le32(p) | uint64_t(read_le32(p + 4)) << 32; }

#endif
