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
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>

// Every length up to 300, and all the rest of 5 MiB, from every start within an eight-byte step;
// random bytes, so those above 0x7F must add their unsigned value. The sum wraps modulo 2^32:
// 16,843,010 bytes of 0xFF sum to 4,294,967,550, which is 254 past it.
TEST(checksums, agree_with_zlib_and_a_plain_sum)
{
    std::mt19937 rng(1);
    bytes data(5 << 20);
    std::generate(data.begin(), data.end(), [&] { return static_cast<uint8_t>(rng()); });
    for (size_t start = 0; start < 8; start++)
        for (uint32_t n = 0; n <= 301; n++) {
            const uint32_t len = n <= 300 ? n : static_cast<uint32_t>(data.size() - start);
            const uint8_t *p = data.data() + start;
            const uint32_t sum = std::accumulate(p, p + len, 0u);
            ASSERT_EQ(crc32_buffer(p, len), zlib_crc32({p, p + len})) << start << '+' << len;
            ASSERT_EQ(byte_sum(p, len), sum) << start << '+' << len;
            ASSERT_EQ(byte_sum_equals(p, len, sum) - byte_sum_equals(p, len, sum - 1), 1);
        }
    data.assign(16843010, 0xFF);
    EXPECT_EQ(byte_sum(data.data(), static_cast<uint32_t>(data.size())), 254u);
}

// The events so far, each box cut to its first line: the scenarios read the whole texts.
static std::vector<std::string> first_lines()
{
    std::vector<std::string> lines = script_transcript();
    for (std::string &line : lines)
        line = line.substr(0, line.find('\n'));
    return lines;
}

static std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Lists of the test's own, overlapping as the built-in ones never do. verify_result tests sums
// before CRCs, current lists before outdated ones, and a CRC of 0 last; of the outdated sums only
// the first and the third mark a source as already patched. identify_source refuses an already
// patched source before a known bad one, and that before the rows: C is known bad and the one
// row's CRC as well, so the row never gets its say.
TEST(stages, come_in_their_order_in_verification_and_identification)
{
    // S stands for the image's byte sum in a case's lists; C and U are CRC-32s the image is given.
    const uint32_t S = 0xFFFF0001, C = 0x00ABCDEF, U = 0x000C0FFE;
    const uint32_t bad[] = {0x0000BAD0, C};
    const catalogue_test tests[] = {crc_in(bad)};
    const catalogue_rule rules[] = {rule(tests, reject("Not this one."))};
    // Name, the image's CRC-32, the lists (current and outdated CRCs, current and outdated sums),
    // then what verify_result returns, its boxes (an index into boxes: none, the outdated box, or
    // the unrecognised box and the CRC on the clipboard) and what is_already_patched returns.
    const std::tuple<const char *, uint32_t, std::vector<std::vector<uint32_t>>, int, int, int>
        cases[] = {
            {"no list matches", U, {{1, 2}, {3}, {4}, {5, 6, 7, 8}}, 1, 2, 0},
            {"current sum before outdated crc", C, {{}, {C}, {S}, {}}, 1, 0, 1},
            {"current sum before outdated sum", C, {{}, {}, {S}, {1, S, 3, 4}}, 1, 0, 1},
            {"outdated sum before current crc", C, {{C}, {}, {}, {1, S, 3, 4}}, 0, 1, 1},
            {"first outdated sum", C, {{}, {}, {}, {S, 2, 3, 4}}, 0, 1, 1},
            {"second outdated sum", C, {{}, {}, {}, {1, S, 3, 4}}, 0, 1, 0},
            {"third outdated sum", C, {{}, {}, {}, {1, 2, S, 4}}, 0, 1, 1},
            {"fourth outdated sum", C, {{}, {}, {}, {1, 2, 3, S}}, 0, 1, 0},
            {"current crc before outdated crc", C, {{C}, {C}, {}, {}}, 1, 0, 1},
            {"outdated crc", C, {{}, {1, C}, {}, {}}, 0, 1, 1},
            {"crc 0 in no list", 0, {{1}, {2}, {3}, {4, 5, 6, 7}}, 0, 1, 1},
            {"crc 0 after the current crcs", 0, {{0}, {}, {}, {}}, 1, 0, 1},
            {"too few outdated sums for a third", U, {{}, {}, {}, {1}}, 1, 2, 0},
        };
    const std::vector<std::string> boxes[] = {
        {}, {"box|Error|This patch file is outdated."},
        {"box|Unrecognized patch|There may be a problem with this patch file", "clipboard||0x000C0FFE"},
        {"box|Unrecognized source file|There may be a problem with this file", "clipboard||0x000C0FFE"},
        {"box|Error|This file is known to be bad and is not compatible with our patch."},
        {"box|Error|This file has already been patched. Please use a clean copy."}};
    for (auto [name, crc, v, verified, box, patched] : cases) { // a copy: S is replaced in it
        SCOPED_TRACE(name);
        bytes image(64, 0x3C);
        force_crc(image, crc);
        const uint32_t sum = std::accumulate(image.begin(), image.end(), 0u);
        for (std::vector<uint32_t> &list : v)
            std::replace(list.begin(), list.end(), S, sum);
        const result_signature_lists lists = {
            v[0].data(), uint32_t(v[0].size()), v[1].data(), uint32_t(v[1].size()),
            v[2].data(), uint32_t(v[2].size()), v[3].data(), uint32_t(v[3].size())};
        const source_catalogue catalogue = {&lists, bad, 2, rules, 1};
        script_reset();
        EXPECT_EQ(is_already_patched_against(image.data(), 64, &lists), patched);
        EXPECT_EQ(verify_result_against(image.data(), 64, &lists), verified);
        EXPECT_EQ(identify_source_against(image.data(), 64, &catalogue), crc == U ? 0 : -1);
        // verify_result's boxes, then identify_source's: patched, else known bad, else unknown.
        EXPECT_EQ(first_lines(), joined(boxes[box], boxes[patched ? 5 : crc == U ? 3 : 4]));
    }
}

// Each row's image, built from its own tests, runs through identification to that row's outcome;
// every third row finds no patch file, the others one too large. Then each test alone on the
// image fails when a byte it compares changes (letter case aside, in a directory entry) but not a
// byte beside them, when the image ends short of them, or when its length or signature is off.
// A slip in copying the catalogue shows in its counts, a value twice or a kind no row uses.
TEST(title_catalogue, decides_each_rows_own_image_by_that_row_and_by_exactly_its_bytes)
{
    working_folder here;
    std::map<test_kind, std::vector<uint32_t>> values;
    std::set<std::pair<test_kind, std::string>> stored; // the distinct stored bytes of each kind
    std::set<std::string> outcomes;                     // kind and save pattern
    for (uint32_t r = 0; r < title_catalogue_rows; r++) {
        SCOPED_TRACE(testing::Message() << "row " << r + 1);
        const catalogue_rule &row = title_catalogue[r];
        const catalogue_outcome &o = row.outcome;
        const bool loads = o.patch_name && r % 3 != 1, refused = o.kind == outcome_kind::reject;
        if (o.patch_name)
            loads ? write_bytes(o.patch_name, bytes(patch_capacity + 1))
                  : remove_tree(o.patch_name);
        script_reset();
        save_filter = "*.bin";
        bytes image = image_for_rule(row);
        const uint32_t length = static_cast<uint32_t>(image.size());
        EXPECT_EQ(identify_source(image.data(), length),
                  refused ? -1 : loads ? static_cast<int32_t>(patch_capacity) : 0);
        const std::string title = refused ? "box|Error|" : "box|Warning|";
        const std::vector<std::string> own(o.text != nullptr, title + (o.text ? o.text : "")),
            cut(loads, "box|Warning|File size is too large and will be truncated");
        EXPECT_EQ(script_transcript(), joined(own, cut)); // the row's own box first
        EXPECT_STREQ(save_filter, o.save_filter ? o.save_filter : "*.bin");
        outcomes.insert(std::to_string(int(o.kind)) + (o.save_filter ? o.save_filter : ""));
        // On an empty image a row stops at a cheaper test before it would sum the bytes.
        image_facts empty = {image.data(), 0, 0, 0, 0};
        EXPECT_EQ(rule_holds(&row, &empty) + empty.sum_known, 0);

        for (const catalogue_test *t = row.tests; t != row.tests + row.test_count; t++) {
            values[t->kind].insert(values[t->kind].end(), t->values, t->values + t->value_count);
            stored.insert({t->kind, std::string(t->stored, t->stored + t->stored_length)});
            const catalogue_rule alone = {t, 1, ask_user()};
            auto holds = [&](uint32_t image_length, uint32_t crc_or_sum) {
                image_facts facts = {image.data(), image_length, crc_or_sum, crc_or_sum, 1};
                return rule_holds(&alone, &facts);
            };
            const bool entry = t->kind == test_kind::dir_entry_equals;
            const uint32_t end = t->offset + t->length + entry; // an entry's terminating zero too
            for (uint32_t at = t->offset - 1; t->stored && at <= end; at++) {
                // A letter of an entry is compared in either case; 0x20 turns its case.
                const bool letter = entry && unsigned((image[at] | 0x20) - 'a') < 26;
                image[at] ^= 0x20;
                EXPECT_EQ(holds(length, 0), at < t->offset || at >= end || letter) << "at " << at;
                image[at] ^= 0x20;
            }
            // One short: the image ends before the last byte, or the length is one less; and no
            // set holds a signature of 0.
            EXPECT_EQ(holds(t->stored ? end - 1 : t->length - 1, 0), 0);
            const bool at_least = t->kind == test_kind::length_at_least;
            EXPECT_EQ(holds(t->length, 0) + holds(t->length + 1, 0),
                      at_least ? 2 : t->kind == test_kind::length_equals);
            for (uint32_t v = 0; v < t->value_count; v++)
                EXPECT_EQ(holds(length, t->values[v]), 1) << v;
        }
    }
    EXPECT_EQ(values.size(), 8u);
    // Loading (0), with either save pattern or none; refusing (1); handing over (2).
    EXPECT_EQ(outcomes, (std::set<std::string>{"0", "0*.dsk", "0*.xdf", "1", "2"}));
    EXPECT_EQ(values[test_kind::crc_in].size(), 68u);
    EXPECT_EQ(values[test_kind::sum_in].size(), 46u);
    EXPECT_EQ(stored.size(), 14 + 4 + 3 + 1 + 4u); // header texts, checksum words, directory
                                                   // entries, block; none for four kinds
    std::vector<uint32_t> all = values[test_kind::crc_in];
    auto add = [&](const auto &list) { all.insert(all.end(), std::begin(list), std::end(list)); };
    add(values[test_kind::sum_in]), add(known_bad_source_crcs), add(current_result_crcs);
    add(outdated_result_crcs), add(current_result_sums), add(outdated_result_sums);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0u), 0) << "a short list is filled with zeros";
    EXPECT_EQ(std::set<uint32_t>(all.begin(), all.end()).size(), all.size()) << "a value twice";
    EXPECT_TRUE(std::is_sorted(outdated_result_sums, std::end(outdated_result_sums)));

    // The built-in result lists in their roles: the last value of each on an image of its own, a
    // CRC-32 forced into 64 bytes or a sum of bytes of 0xFF and one of the rest. The last of the
    // outdated sums, the fourth, does not mark a source as already patched.
    const uint32_t last[] = {std::end(current_result_crcs)[-1], std::end(outdated_result_crcs)[-1],
                             std::end(current_result_sums)[-1], std::end(outdated_result_sums)[-1]};
    for (int l = 0; l < 4; l++) {
        bytes image(l < 2 ? 64 : last[l] / 0xFF + 1, 0xFF);
        l < 2 ? force_crc(image, last[l]) : void(image.back() = last[l] % 0xFF);
        EXPECT_EQ(verify_result(image.data(), uint32_t(image.size())), l % 2 == 0) << l;
        EXPECT_EQ(is_already_patched(image.data(), uint32_t(image.size())), l < 3) << l;
    }
}
