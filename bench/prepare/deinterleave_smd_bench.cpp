// deinterleave_smd_bench.cpp -- a 16 MiB interleaved cartridge image converted to linear order
#include "prepare/deinterleave_smd.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

const uint32_t image_length = 0x1000000; // the largest cartridge image: 1024 blocks of 16 KiB

void deinterleave_16_mib(benchmark::State &state)
{
    std::vector<uint8_t> image(image_length);
    for (uint32_t i = 0; i < image_length; i++)
        image[i] = static_cast<uint8_t>(i * 31 + (i >> 13));
    // Each pass converts the previous result again: the work per block is the same either way.
    for (auto _ : state) {
        deinterleave_smd(image.data(), image_length);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * image_length);
}
BENCHMARK(deinterleave_16_mib)->Unit(benchmark::kMillisecond);

} // namespace
