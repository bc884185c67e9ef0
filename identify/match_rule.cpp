// match_rule.cpp -- the eight kinds of catalogue test, each read-only and bounded by the image
//
// Tests that read the image at an offset fail when the image ends before the last byte they
// would read, so a row can never look past the working image, whatever its length.
#include "identify/match_rule.h"

#include "identify/value_list.h"

#include <cstring>

namespace {

// 1 when the image holds count bytes from offset on.
int32_t image_holds(const image_facts *facts, uint32_t offset, uint32_t count)
{
    return offset <= facts->length && count <= facts->length - offset;
}

uint8_t ascii_lower(uint8_t c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c - 'A' + 'a') : c;
}

// A zero-terminated name at offset that reads as entry when letter case is ignored.
int32_t dir_entry_holds(const image_facts *facts, const catalogue_test *test)
{
    if (!image_holds(facts, test->offset, dir_entry_size + 1)) // the entry and its NUL
        return 0;
    const uint8_t *at = facts->image + test->offset;
    for (uint32_t i = 0; i < dir_entry_size; i++)
        if (ascii_lower(at[i]) != ascii_lower(test->stored[i]))
            return 0;
    return at[dir_entry_size] == 0;
}

int32_t bytes_at_equal(const image_facts *facts, uint32_t offset, const uint8_t *stored,
                       uint32_t count)
{
    return image_holds(facts, offset, count) &&
           std::memcmp(facts->image + offset, stored, count) == 0;
}

int32_t test_holds(const catalogue_test *test, const image_facts *facts)
{
    switch (test->kind) {
    case test_kind::crc_in:
        return value_listed(test->values, test->value_count, facts->crc);
    case test_kind::length_equals:
        return facts->length == test->length;
    case test_kind::length_at_least:
        return facts->length >= test->length;
    case test_kind::header_equals:
        return bytes_at_equal(facts, test->offset, test->stored, test->length);
    case test_kind::checksum_word_equals:
        return bytes_at_equal(facts, checksum_word_offset, test->stored, 2);
    case test_kind::sum_in:
        return value_listed(test->values, test->value_count, facts->sum);
    case test_kind::dir_entry_equals:
        return dir_entry_holds(facts, test);
    case test_kind::block_equals:
        return bytes_at_equal(facts, test->offset, test->stored, block_size);
    }
    return 0; // a kind this build does not know never holds
}

} // namespace

int32_t rule_holds(const catalogue_rule *rule, const image_facts *facts)
{
    for (uint32_t i = 0; i < rule->test_count; i++)
        if (!test_holds(&rule->tests[i], facts))
            return 0;
    return 1;
}

int32_t first_matching_rule(const catalogue_rule *rules, uint32_t count, const image_facts *facts)
{
    for (uint32_t i = 0; i < count; i++)
        if (rule_holds(&rules[i], facts))
            return static_cast<int32_t>(i);
    return -1;
}
