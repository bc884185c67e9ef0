// patcher_storage.h -- the static storage that one run of the patcher works in
#ifndef PATCHER_STORAGE_H
#define PATCHER_STORAGE_H

#include <cstdint>

constexpr uint32_t target_capacity = 0x1000200; // a 16 MiB cartridge behind a 512-byte copier header
constexpr uint32_t patch_capacity = 0x100000;   // 1 MiB: the largest patch accepted
constexpr uint32_t path_capacity = 1019;        // characters of a chosen file name, NUL included
// A zip or gzip file whole: a largest image stored as it is, plus 1 MiB for the headers and the
// directory of its entries and for the readmes and pictures packed beside a patch.
constexpr uint32_t archive_capacity = target_capacity + 0x100000;

// The image and patch buffers hold one byte beyond their capacity, where an entry inflated into
// them shows that it was longer (host/inflate.h).
extern uint8_t target_buffer[target_capacity + 1];
extern uint8_t patch_buffer[patch_capacity + 1];
// A zip or gzip file while its image or patch is taken out, and any patch file as it is read.
extern uint8_t archive_buffer[archive_capacity];
extern char path_buffer[path_capacity];

// The one pattern the save dialog offers: "*.bin" at the start of a run, or "*.xdf" / "*.dsk" once
// identification has recognised a disk image.
extern const char *save_filter;

#endif
