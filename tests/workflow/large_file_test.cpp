// large_file_test.cpp -- files of 2 GiB and more are measured in full, so cutting them is announced
#include "support/folder_test.h"
#include "workflow/host_services.h"

#include <filesystem>

namespace {

using large_file = folder_test;

TEST_F(large_file, is_measured_whole_and_draws_the_warning)
{
    // Sparse files: no disk space is taken. A position of 32 bits would make the first negative
    // and the second 16 bytes long, so that it would be read up to the capacity without a word.
    const uint64_t lengths[] = {(uint64_t{1} << 31) + 5, (uint64_t{1} << 32) + 16};
    for (uint64_t length : lengths) {
        script_reset();
        write_bytes(path("big"), bytes{0x42});
        std::filesystem::resize_file(path("big"), length);

        FILE *stream = std::fopen(path("big").c_str(), "rb");
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(file_size(stream), static_cast<int64_t>(length));
        std::fclose(stream);

        uint8_t buffer[64];
        EXPECT_EQ(load_file(path("big").c_str(), buffer, sizeof buffer), sizeof buffer) << length;
        EXPECT_EQ(buffer[0], 0x42);
        EXPECT_EQ(script_transcript(),
                  std::vector<std::string>{"box|Warning|File size is too large and will be truncated"})
            << length;
    }
}

} // namespace
