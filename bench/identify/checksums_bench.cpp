// checksums_bench.cpp -- CRC-32 by each path, byte sum, and both in one pass over a 16 MiB image
#include "identify/checksums.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>
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

// Times checksum by the path in the benchmark's argument: 0 portable, 1 SSE, 2 AVX-512.
template <class F> void time_by_path(benchmark::State &state, F checksum)
{
    const checksum_path path = static_cast<checksum_path>(state.range(0));
    checksum_use_path(path);
    if (!checksum_path_available(path))
        state.SetLabel("not on this CPU: the portable path");
    time_over_image(state, checksum);
    checksum_use_path(checksum_path_count);
}

void crc32_of_16_mib(benchmark::State &state)
{
    time_by_path(state, crc32_buffer);
}
BENCHMARK(crc32_of_16_mib)->DenseRange(0, checksum_path_count - 1)->Unit(benchmark::kMillisecond);

void byte_sum_of_16_mib(benchmark::State &state)
{
    time_by_path(state, byte_sum);
}
BENCHMARK(byte_sum_of_16_mib)->DenseRange(0, checksum_path_count - 1)->Unit(benchmark::kMillisecond);

// Both signatures in the one pass that identification and verification make.
void both_signatures_of_16_mib(benchmark::State &state)
{
    time_by_path(state, image_signatures);
}
BENCHMARK(both_signatures_of_16_mib)->DenseRange(0, checksum_path_count - 1)->Unit(benchmark::kMillisecond);

// The same CRC-32 from two well-known libraries, as the yardstick.
void zlib_crc32_of_16_mib(benchmark::State &state)
{
    time_over_image(state, [](const uint8_t *image, uint32_t length) { return crc32(0, image, length); });
}
BENCHMARK(zlib_crc32_of_16_mib)->Unit(benchmark::kMillisecond);

void libdeflate_crc32_of_16_mib(benchmark::State &state)
{
    time_over_image(state,
                    [](const uint8_t *image, uint32_t length) { return libdeflate_crc32(0, image, length); });
}
BENCHMARK(libdeflate_crc32_of_16_mib)->Unit(benchmark::kMillisecond);

} // namespace
