// catalogue_rule.h -- the form of one catalogue row: the tests an image must pass, and what follows
//
// A row is plain constant data: an ordered list of tests, all of which must hold, and one outcome.
// The builder functions below (crc_in, header_equals, load_patch, ...) only fill the structs, so
// that a table of rows reads like the list of rules it is.
#ifndef PATCHER_CATALOGUE_RULE_H
#define PATCHER_CATALOGUE_RULE_H

#include <cstdint>

enum class test_kind : uint8_t {
    crc_in,               // the image CRC-32 is one of values
    length_equals,        // the image is exactly length bytes long
    length_at_least,      // the image is at least length bytes long
    header_equals,        // length bytes at offset equal the first length bytes of stored
    checksum_word_equals, // the bytes at 0x18E and 0x18F equal stored[0] and stored[1]
    sum_in,               // the image byte sum is one of values
    dir_entry_equals,     // a zero-terminated 12-character entry at offset, letter case ignored
    block_equals,         // the block_size bytes at offset equal stored
};

constexpr uint32_t max_crc_values = 16;         // the largest set of CRC-32s one test holds
constexpr uint32_t max_sum_values = 6;          // the largest list of byte sums one test holds
constexpr uint32_t dir_entry_size = 12;         // name, extension and attribute of a FAT entry
constexpr uint32_t block_size = 32;             // bytes of a block_equals test
constexpr uint32_t checksum_word_offset = 0x18E; // the cartridge header's checksum, high byte first

struct catalogue_test {
    test_kind kind;
    uint32_t offset;        // header_equals, dir_entry_equals, block_equals
    uint32_t length;        // the length tests; the compare length of header_equals
    const uint32_t *values; // crc_in, sum_in
    uint32_t value_count;
    const uint8_t *stored;  // header text, checksum-word pair, entry text or block
    uint32_t stored_length; // bytes at stored: a header text may be longer than it is compared
};

enum class outcome_kind : uint8_t {
    load_patch, // warn (if warning), switch the save pattern (if save_filter), load patch_name
    reject,     // show message titled "Error"; the run stops
    ask_user,   // say nothing; the user picks a patch
};

struct catalogue_outcome {
    outcome_kind kind;
    const char *patch_name;  // load_patch: a plain name, looked up in the current directory
    const char *save_filter; // load_patch: "*.xdf" or "*.dsk", or null to keep the pattern
    const char *text;        // load_patch: the warning, or null; reject: the message
};

struct catalogue_rule {
    const catalogue_test *tests;
    uint32_t test_count;
    catalogue_outcome outcome;
};

// A stored text that may hold zero bytes: its bytes and its length.
struct stored_text {
    const uint8_t *bytes;
    uint32_t length;
};

// A text written as a literal, without the literal's own closing NUL.
template <uint32_t size>
constexpr stored_text text_of(const uint8_t (&literal)[size])
{
    return {literal, size - 1};
}

// ---- Tests -------------------------------------------------------------------------------------

template <uint32_t count>
constexpr catalogue_test crc_in(const uint32_t (&crcs)[count])
{
    static_assert(count >= 1 && count <= max_crc_values, "a CRC set holds 1 to 16 values");
    return {test_kind::crc_in, 0, 0, crcs, count, nullptr, 0};
}

template <uint32_t count>
constexpr catalogue_test sum_in(const uint32_t (&sums)[count])
{
    static_assert(count >= 1 && count <= max_sum_values, "a sum list holds 1 to 6 values");
    return {test_kind::sum_in, 0, 0, sums, count, nullptr, 0};
}

constexpr catalogue_test length_equals(uint32_t length)
{
    return {test_kind::length_equals, 0, length, nullptr, 0, nullptr, 0};
}

constexpr catalogue_test length_at_least(uint32_t length)
{
    return {test_kind::length_at_least, 0, length, nullptr, 0, nullptr, 0};
}

constexpr catalogue_test header_equals(uint32_t offset, stored_text text, uint32_t compare_length)
{
    return {test_kind::header_equals, offset, compare_length, nullptr, 0, text.bytes, text.length};
}

constexpr catalogue_test checksum_word_equals(const uint8_t (&pair)[2])
{
    return {test_kind::checksum_word_equals, checksum_word_offset, 2, nullptr, 0, pair, 2};
}

// entry is written as a text literal: its 12 characters and the literal's own NUL.
constexpr catalogue_test dir_entry_equals(uint32_t offset,
                                          const uint8_t (&entry)[dir_entry_size + 1])
{
    return {test_kind::dir_entry_equals, offset, dir_entry_size, nullptr, 0, entry, dir_entry_size};
}

constexpr catalogue_test block_equals(uint32_t offset, const uint8_t (&block)[block_size])
{
    return {test_kind::block_equals, offset, block_size, nullptr, 0, block, block_size};
}

// ---- Outcomes ----------------------------------------------------------------------------------

constexpr catalogue_outcome load_patch(const char *patch_name, const char *save_filter = nullptr,
                                       const char *warning = nullptr)
{
    return {outcome_kind::load_patch, patch_name, save_filter, warning};
}

constexpr catalogue_outcome reject(const char *message)
{
    return {outcome_kind::reject, nullptr, nullptr, message};
}

constexpr catalogue_outcome ask_user()
{
    return {outcome_kind::ask_user, nullptr, nullptr, nullptr};
}

// ---- Rows --------------------------------------------------------------------------------------

template <uint32_t count>
constexpr catalogue_rule rule(const catalogue_test (&tests)[count], catalogue_outcome outcome)
{
    return {tests, count, outcome};
}

#endif
