// catalogue_data_test.cpp -- the built-in signature lists keep the rules their searches rely on
#include "identify/catalogue_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(catalogue_data, result_signatures_are_distinct_and_never_0)
{
    std::vector<uint32_t> all;
    all.insert(all.end(), current_result_crcs, current_result_crcs + current_result_crc_count);
    all.insert(all.end(), outdated_result_crcs, outdated_result_crcs + outdated_result_crc_count);
    all.insert(all.end(), current_result_sums, current_result_sums + current_result_sum_count);
    all.insert(all.end(), outdated_result_sums, outdated_result_sums + outdated_result_sum_count);
    EXPECT_EQ(all.size(), 22u + 10u + 9u + 4u);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0u), 0) << "a short list is filled with zeros";
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

TEST(catalogue_data, outdated_sums_ascend)
{
    for (uint32_t i = 1; i < outdated_result_sum_count; i++)
        EXPECT_LT(outdated_result_sums[i - 1], outdated_result_sums[i]) << i;
}

} // namespace
