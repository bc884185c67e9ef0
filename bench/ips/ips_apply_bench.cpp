// ips_apply_bench.cpp -- a 16 MiB image patched by about 1 MiB of plain and run-length records
#include "ips/ips_apply.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

const uint32_t image_length = 0x1000000;
const uint32_t patch_limit = 0x100000;

// Records spread over the whole image: 4 KiB plain records with a 64-byte run between them.
std::vector<uint8_t> make_bench_patch()
{
    std::vector<uint8_t> patch = {'P', 'A', 'T', 'C', 'H'};
    const uint32_t data_size = 4096, run_count = 64, stride = 0x10000;
    for (uint32_t offset = 0; patch.size() + data_size + 16 < patch_limit; offset += stride) {
        patch.insert(patch.end(), {uint8_t(offset >> 16), uint8_t(offset >> 8), uint8_t(offset),
                                   uint8_t(data_size >> 8), uint8_t(data_size)});
        patch.insert(patch.end(), data_size, uint8_t(offset >> 12));
        uint32_t run_at = offset + data_size;
        patch.insert(patch.end(), {uint8_t(run_at >> 16), uint8_t(run_at >> 8), uint8_t(run_at), 0, 0,
                                   0, uint8_t(run_count), 0x5A});
        if (offset + stride >= image_length)
            offset = stride / 2 - stride; // wrap once to keep filling the patch
    }
    patch.insert(patch.end(), {'E', 'O', 'F'});
    return patch;
}

void apply_one_megabyte_patch(benchmark::State &state)
{
    std::vector<uint8_t> image(image_length, 0);
    std::vector<uint8_t> patch = make_bench_patch();
    for (auto _ : state) {
        int32_t result = ips_apply(image.data(), patch.data(), image_length,
                                   static_cast<uint32_t>(patch.size()));
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(patch.size()));
}
BENCHMARK(apply_one_megabyte_patch)->Unit(benchmark::kMicrosecond);

} // namespace
