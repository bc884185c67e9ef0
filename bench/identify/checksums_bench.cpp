// checksums_bench.cpp -- CRC-32 by each path, byte sum, and both in one pass over a 16 MiB image
#include "identify/checksums.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <vector>

namespace {

const uint32_t image_length = 0x1000000; // 16 MiB, about the largest image the patcher loads

std::vector<uint8_t> make_image()
{
    std::mt19937 generator(1);
    std::vector<uint8_t> image(image_length);
    for (uint8_t &b : image)
        b = static_cast<uint8_t>(generator());
    return image;
}

// Times checksum over the image and counts its bytes.
template <class F> void time_over_image(benchmark::State &state, F checksum)
{
    const std::vector<uint8_t> image = make_image();
    for (auto _ : state)
        benchmark::DoNotOptimize(checksum(image.data(), image_length));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * image_length);
}

// Each way to the CRC-32 in turn: 0 the tables, 1 128-bit folding, 2 512-bit folding.
void crc32_of_16_mib(benchmark::State &state)
{
    const crc32_path path = static_cast<crc32_path>(state.range(0));
    crc32_use_path(path);
    if (!crc32_path_available(path))
        state.SetLabel("not on this CPU: the tables");
    time_over_image(state, crc32_buffer);
    crc32_use_path(crc32_path_count);
}
BENCHMARK(crc32_of_16_mib)->DenseRange(0, crc32_path_count - 1)->Unit(benchmark::kMillisecond);

void byte_sum_of_16_mib(benchmark::State &state)
{
    time_over_image(state, byte_sum);
}
BENCHMARK(byte_sum_of_16_mib)->Unit(benchmark::kMillisecond);

// Both signatures in the one pass that identification and verification make.
void both_signatures_of_16_mib(benchmark::State &state)
{
    time_over_image(state, image_signatures);
}
BENCHMARK(both_signatures_of_16_mib)->Unit(benchmark::kMillisecond);

} // namespace
