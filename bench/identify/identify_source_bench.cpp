// identify_source_bench.cpp -- identification of sources that no catalogue row takes (target:
// under 20 ms each)
//
// Every such source costs the CRC-32 on entry and the two passes of the already-patched check.
// The 4 MiB image reaches the walk's end after failing every header test; the 3 MiB one carries
// the header of the last cartridge rows, so rows 44, 45 and 47 all reach their byte sums, which
// the walk works out once.
#include "identify/identify_source.h"
#include "identify/title_catalogue.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

const uint32_t four_mib = 0x400000;
const uint32_t three_mib = 0x300000;

std::vector<uint8_t> noise(uint32_t length)
{
    std::mt19937 generator(3);
    std::vector<uint8_t> image(length);
    for (uint8_t &b : image)
        b = static_cast<uint8_t>(generator());
    return image;
}

void identify_unknown_4_mib(benchmark::State &state)
{
    const std::vector<uint8_t> image = noise(four_mib);
    for (auto _ : state)
        benchmark::DoNotOptimize(identify_source(image.data(), four_mib, &built_in_source_catalogue));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * four_mib);
}
BENCHMARK(identify_unknown_4_mib)->Unit(benchmark::kMillisecond);

void identify_unknown_3_mib_reaching_the_last_rows(benchmark::State &state)
{
    std::vector<uint8_t> image = noise(three_mib);
    const catalogue_test &header = title_catalogue[43].tests[0]; // row 44's whole header
    std::memcpy(image.data() + header.offset, header.stored, header.length);
    for (auto _ : state)
        benchmark::DoNotOptimize(identify_source(image.data(), three_mib, &built_in_source_catalogue));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * three_mib);
}
BENCHMARK(identify_unknown_3_mib_reaching_the_last_rows)->Unit(benchmark::kMillisecond);

} // namespace
