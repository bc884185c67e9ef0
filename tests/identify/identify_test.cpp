// identify_test.cpp -- the identify folder: its checksums against zlib and a plain sum, the order
// of identification's and verification's stages, and the built-in catalogue row by row
#include "identify/catalogue_data.h"
#include "identify/checksums.h"
#include "identify/identify_source.h"
#include "identify/match_rule.h"
#include "identify/title_catalogue.h"
#include "support/catalogue_images.h"
#include "support/crc_forge.h"
#include "support/temp_folder.h"
#include "support/platform_scripted.h"
#include "workflow/carry_out_verdict.h"
#include "workflow/patcher_storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <zlib.h>

// A verdict as the driver carries it out: -1 stop, else the patch bytes loaded.
int32_t carried(verdict decided) { return carry_out_verdict(&decided); }

// Every path the CPU can take, forced in turn: every length up to 4096 from every start in a
// 64-byte window, and the whole buffer: a megabyte of scattered bytes, so that those above 0x7F
// must add their unsigned value, then 16 MiB of 0xFF, which carry the sum past 2^32 to wrap.
TEST(checksums, agree_with_zlib_and_a_plain_sum)
{
    bytes data(17 << 20, 0xFF);
    std::generate_n(data.begin(), 1 << 20, [i = 0u]() mutable { return uint8_t(i++ * 2654435761u >> 24); });
    // crc32_buffer on every length; the fused pass and byte_sum, up to 300 bytes and on the whole.
    auto agree = [](const uint8_t *p, uint32_t len, uint32_t crc, uint32_t sum, bool fused) {
        const image_signature both = fused ? image_signatures(p, len) : image_signature{crc, sum};
        return crc32_buffer(p, len) == crc && both.crc == crc && both.sum == sum && (!fused || byte_sum(p, len) == sum);
    };
    for (int path = 0; path < checksum_path_count; path++) {
        if (!checksum_path_available(checksum_path(path)))
            continue;
        checksum_use_path(checksum_path(path));
        for (uint32_t at = 0; at < 64; at++) {
            const uint8_t *p = data.data() + at;
            uLong crc = crc32(0, Z_NULL, 0);
            uint32_t sum = 0;
            for (uint32_t len = 0; len <= 4096; crc = crc32(crc, p + len, 1), sum += p[len], len++)
                ASSERT_TRUE(agree(p, len, uint32_t(crc), sum, len <= 300)) << path << ": " << at << "+" << len;
        }
        const uint32_t whole = std::accumulate(data.begin(), data.end(), 0u), length = uint32_t(data.size());
        ASSERT_TRUE(agree(data.data(), length, zlib_crc32(data), whole, true)) << path;
    }
    checksum_use_path(checksum_path_count); // back to the fastest the CPU has
}

// Lists of the test's own, overlapping as the built-in ones never do. verify_result tests sums
// before CRCs, current lists before outdated ones, and a CRC of 0 last; of the outdated sums only
// the first and the third mark a source as already patched. identify_source refuses an already
// patched source before a known bad one, and that before the rows: C is known bad, and it is the
// first title's CRC-32 as well, whose row would load a patch without a word. So identification's
// one box tells whether the image counts as already patched. The boxes' texts are the scenarios'.
TEST(stages, come_in_their_order_in_verification_and_identification)
{
    const uint32_t C = title_catalogue[0].tests[0].values[0], U = 0x000C0FFE; // CRC-32s an image is given
    bytes image(64, 0x3C);
    force_crc(image, C);
    const uint32_t S = std::accumulate(image.begin(), image.end(), 0u); // the sum that C's image has
    const uint32_t bad[] = {0x0000BAD0, C};
    // Name, the image's CRC-32, the lists (current and outdated CRCs, current and outdated sums),
    // then what verify_result returns, how many events it shows (none, the outdated box, or the
    // unrecognised box and the CRC on the clipboard) and whether the image is already patched.
    const std::tuple<const char *, uint32_t, std::vector<std::vector<uint32_t>>, int, size_t, int>
        cases[] = {
            {"no list matches, one outdated sum", U, {{1, 2}, {3}, {4}, {5}}, 1, 2, 0},
            {"current sum before outdated sum", C, {{}, {}, {S}, {1, S, 3, 4}}, 1, 0, 1},
            {"outdated sum before current crc", C, {{C}, {}, {}, {1, S, 3, 4}}, 0, 1, 1},
            {"first outdated sum", C, {{}, {}, {}, {S, 2, 3, 4}}, 0, 1, 1},
            {"second and fourth outdated sums", C, {{}, {}, {}, {1, S, 3, S}}, 0, 1, 0},
            {"third outdated sum", C, {{}, {}, {}, {1, 2, S, 4}}, 0, 1, 1},
            {"current crc before outdated crc", C, {{C}, {C}, {}, {}}, 1, 0, 1},
            {"crc 0 in no list", 0, {{1}, {2}, {3}, {4, 5, 6, 7}}, 0, 1, 1},
            {"crc 0 after the current crcs", 0, {{0}, {}, {}, {}}, 1, 0, 1},
        };
    for (const auto &[name, crc, v, verified, events, patched] : cases) {
        SCOPED_TRACE(name);
        force_crc(image, crc);
        const result_signature_lists lists = {
            v[0].data(), uint32_t(v[0].size()), v[1].data(), uint32_t(v[1].size()),
            v[2].data(), uint32_t(v[2].size()), v[3].data(), uint32_t(v[3].size())};
        const source_catalogue catalogue = {&lists, bad, 2, title_catalogue, 1};
        script_reset();
        EXPECT_EQ(carried(verify_result(image.data(), 64, &lists)) + 1, verified);
        EXPECT_EQ(script_transcript().size(), events);
        // Already patched, else known bad: a box each; else the unrecognised box and the CRC.
        EXPECT_EQ(carried(identify_source(image.data(), 64, &catalogue)), crc == U ? 0 : -1);
        ASSERT_EQ(script_transcript().size(), events + (crc == U ? 2 : 1));
        EXPECT_EQ(script_transcript()[events].rfind("box|Error|This file has already", 0) == 0, patched == 1);
    }
}

// Each row's image, built from its own tests, runs through identification to that row's outcome;
// every third row finds no patch file, the others one too large, whose warning follows the row's
// own box. Then each test alone on the image fails when a byte it compares changes (letter case
// aside, in a directory entry) but not a byte beside them, when the image ends short of them, or
// when its length is off. A slip in copying the catalogue may show as a value twice.
TEST(title_catalogue, decides_each_rows_own_image_by_that_row_and_by_exactly_its_bytes)
{
    std::map<test_kind, std::vector<uint32_t>> values; // the values of each kind
    for (uint32_t r = 0; r < title_catalogue_rows; r++) {
        SCOPED_TRACE(testing::Message() << "row " << r + 1);
        working_folder here;
        const catalogue_rule &row = title_catalogue[r];
        const catalogue_outcome &o = row.outcome;
        const bool loads = o.patch_name && r % 3 != 1, stops = o.kind == outcome_kind::reject;
        if (loads)
            write_bytes(o.patch_name, bytes(0x100001)); // 1 MiB, the capacity, and one more
        script_reset();
        save_filter = "*.bin";
        bytes image = image_for_rule(row);
        EXPECT_EQ(carried(identify_source(image.data(), image.size(), &built_in_source_catalogue)), stops ? -1 : loads * 0x100000);
        ASSERT_EQ(script_transcript().size(), (o.text != nullptr) + size_t(loads));
        const std::string own = "box|" + std::string(stops ? "Error|" : "Warning|") + (o.text ? o.text : "");
        EXPECT_TRUE(!o.text || script_transcript()[0] == own); // the row's own box first
        EXPECT_EQ(std::string(save_filter), !stops && o.save_filter ? o.save_filter : "*.bin");

        for (const catalogue_test *t = row.tests; t != row.tests + row.test_count; t++) {
            values[t->kind].insert(values[t->kind].end(), t->values, t->values + t->value_count);
            const catalogue_rule alone = {t, 1, ask_user()};
            auto holds = [&](uint32_t image_length) { // the image's CRC-32 and sum taken as the first value
                const uint32_t first = t->value_count ? t->values[0] : 0;
                const image_facts facts = {image.data(), image_length, first, first};
                return rule_holds(&alone, &facts);
            };
            const bool entry = t->kind == test_kind::dir_entry_equals;
            const uint32_t end = t->offset + t->length + entry; // an entry's terminating zero too
            for (uint32_t at = t->offset - 1; t->stored && at <= end; at++) {
                // A letter of an entry is compared in either case; 0x20 turns its case.
                const bool letter = entry && unsigned((image[at] | 0x20) - 'a') < 26;
                image[at] ^= 0x20;
                EXPECT_EQ(holds(image.size()), at < t->offset || at >= end || letter) << "at " << at;
                image[at] ^= 0x20;
            }
            // One short, the image ending before the last byte or the length one less, fails; a
            // list's first value (the image carries the last) holds at any length. At the length a
            // length test names and one more, length_equals holds once, a stored text never (the
            // image is too short for it) and the others twice.
            EXPECT_EQ(holds(t->stored ? end - 1 : t->length - 1), t->value_count > 0);
            EXPECT_EQ(holds(t->length) + holds(t->length + 1),
                      t->kind == test_kind::length_equals ? 1 : t->stored ? 0 : 2);
        }
    }
    // Every value, and the 0 that would fill out a short list.
    std::vector<uint32_t> all = {0};
    auto add = [&](const auto &list) { all.insert(all.end(), std::begin(list), std::end(list)); };
    add(values[test_kind::crc_in]), add(values[test_kind::sum_in]), add(known_bad_source_crcs);
    add(current_result_crcs), add(outdated_result_crcs), add(current_result_sums), add(outdated_result_sums);
    EXPECT_EQ(std::set<uint32_t>(all.begin(), all.end()).size(), all.size()) << "a value twice, or 0";
    EXPECT_TRUE(std::is_sorted(outdated_result_sums, std::end(outdated_result_sums)));
}
