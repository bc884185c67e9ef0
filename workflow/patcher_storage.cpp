// patcher_storage.cpp -- the static buffers of a run, sized for the largest accepted inputs
#include "workflow/patcher_storage.h"
#include "workflow/file_system.h"

alignas(large_buffer_alignment) uint8_t target_buffer[target_capacity];
uint8_t patch_buffer[patch_capacity];
char path_buffer[path_capacity];
uint8_t smd_odd_scratch[smd_half_block];
uint8_t smd_even_scratch[smd_half_block];

const char *save_filter = "*.bin";
