// patcher_storage.cpp -- the static buffers of a run, sized for the largest accepted inputs
#include "workflow/patcher_storage.h"
#include "host/files/file_system.h"

alignas(large_buffer_alignment) uint8_t target_buffer[target_capacity + 1];
uint8_t patch_buffer[patch_capacity + 1];
alignas(large_buffer_alignment) uint8_t archive_buffer[archive_capacity];
char path_buffer[path_capacity];

const char *save_filter = "*.bin";
