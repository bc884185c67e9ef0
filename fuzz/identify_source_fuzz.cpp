// identify_source_fuzz.cpp -- identify_source on any working image the driver can hand it, against
// the built-in catalogue: it reads only the image, changes nothing in it, and every way it ends is
// one the driver knows
//
// Input, so that small inputs can describe images of up to several MiB:
//   0       bits 0-1: the catalogue's patch files in the current folder (0 absent, else present,
//           each with a length and fill of its own); bits 2-3: a signature to force on the image
//           (1 a CRC-32, 2 a byte sum, taken from every list the patcher knows; else none)
//   1       which signature of that list
//   2       bit 7 set: the length is one the catalogue names (chosen by byte 3; 0 is the smallest
//           that holds the boot-disk block), less one, exact or plus one (byte 4 modulo 3: 0, 1, 2);
//           else a length from 256 KiB on, in a window of general_span bytes
//   3..4    the length's selector
//   5       the seed of the position-dependent background
//   6..     chunks laid over the background: a 3-byte little-endian offset (modulo the length), a
//           count byte, then that many bytes
// The image ends exactly where its heap block ends, so AddressSanitizer reports any look past it.
#include "fuzz/lay_chunks.h"
#include "identify/checksums.h"
#include "identify/identify_source.h"
#include "identify/title_catalogue.h"
#include "workflow/patcher_storage.h"
#include "workflow/platform_scripted.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const uint32_t smallest_image = 0x40000; // the driver refuses anything shorter
const uint32_t general_span = 0x41000;   // up to past the boot-disk block at 0x7C800
const size_t header_length = 6;

struct patch_file {
    std::string name;
    uint32_t length; // distinct for every file, so a result tells which one was loaded
};

std::vector<patch_file> patch_files;
std::vector<uint32_t> catalogue_lengths, crcs, sums;
std::string folder_with, folder_without;
uint32_t largest_image;
uint8_t *area, *original, *background;
uint32_t crc_table[256];

void add_values(std::vector<uint32_t> &to, const uint32_t *values, uint32_t count)
{
    to.insert(to.end(), values, values + count);
}

std::string make_folder(const char *base)
{
    std::string pattern = std::string(base) + "/patcher-identify-XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    return pattern;
}

void remove_folders()
{
    for (const patch_file &f : patch_files)
        std::remove((folder_with + "/" + f.name).c_str());
    rmdir(folder_with.c_str());
    rmdir(folder_without.c_str());
}

void set_up()
{
    catalogue_lengths.push_back(0x7C820); // first: just holds the boot-disk block at 0x7C800
    for (uint32_t row = 0; row < title_catalogue_rows; row++) {
        const catalogue_rule &r = title_catalogue[row];
        for (uint32_t t = 0; t < r.test_count; t++) {
            const catalogue_test &test = r.tests[t];
            if (test.kind == test_kind::crc_in)
                add_values(crcs, test.values, test.value_count);
            if (test.kind == test_kind::sum_in)
                add_values(sums, test.values, test.value_count);
            if (test.kind == test_kind::length_equals || test.kind == test_kind::length_at_least)
                catalogue_lengths.push_back(test.length);
        }
        if (r.outcome.kind != outcome_kind::load_patch)
            continue;
        bool known = false;
        for (const patch_file &f : patch_files)
            known = known || f.name == r.outcome.patch_name;
        if (!known)
            patch_files.push_back({r.outcome.patch_name, 100 + uint32_t(patch_files.size())});
    }
    const source_catalogue &c = built_in_source_catalogue;
    add_values(crcs, c.known_bad_crcs, c.known_bad_crc_count);
    add_values(crcs, c.results->current_crcs, c.results->current_crc_count);
    add_values(crcs, c.results->outdated_crcs, c.results->outdated_crc_count);
    add_values(sums, c.results->current_sums, c.results->current_sum_count);
    add_values(sums, c.results->outdated_sums, c.results->outdated_sum_count);

    largest_image = smallest_image + general_span;
    for (uint32_t length : catalogue_lengths)
        if (length + 1 > largest_image)
            largest_image = length + 1;
    area = static_cast<uint8_t *>(std::malloc(largest_image));
    original = static_cast<uint8_t *>(std::malloc(largest_image));
    background = static_cast<uint8_t *>(std::malloc(largest_image + 256));
    if (!area || !original || !background)
        std::abort();
    for (uint32_t i = 0; i < largest_image + 256; i++)
        background[i] = static_cast<uint8_t>(i * 7 + (i >> 13));

    // Named patches are looked up in the current folder: one folder holds them all, one none.
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    folder_with = make_folder(base);
    folder_without = make_folder(base);
    for (size_t i = 0; i < patch_files.size(); i++) {
        FILE *f = std::fopen((folder_with + "/" + patch_files[i].name).c_str(), "wb");
        std::vector<uint8_t> content(patch_files[i].length, static_cast<uint8_t>(i));
        if (!f || std::fwrite(content.data(), 1, content.size(), f) != content.size() ||
            std::fclose(f) != 0)
            std::abort();
    }
    std::atexit(remove_folders);

    for (uint32_t i = 0; i < 256; i++) {
        uint32_t c = i;
        for (int k = 0; k < 8; k++)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crc_table[i] = c;
    }
}

// Rewrites the last four bytes so that the image's CRC-32 becomes crc: the register is run back
// from the wanted end over four zero bytes, and the four bytes are what turns the register after
// the rest of the image into that state.
void force_crc(uint8_t *image, uint32_t length, uint32_t crc)
{
    uint32_t state = ~crc;
    for (int step = 0; step < 4; step++) {
        uint32_t j = 0;
        while ((crc_table[j] >> 24) != (state >> 24))
            j++;
        state = ((state ^ crc_table[j]) << 8) | j;
    }
    uint32_t before = ~crc32_buffer(image, length - 4);
    for (int i = 0; i < 4; i++)
        image[length - 4 + i] = static_cast<uint8_t>((state ^ before) >> (8 * i));
}

// Moves bytes from the end towards the wanted byte sum, as far as bytes from 0x200 on allow: the
// cartridge header in front stays as the input laid it.
void force_sum(uint8_t *image, uint32_t length, uint32_t sum)
{
    uint32_t now = byte_sum(image, length);
    for (uint32_t i = length; i-- > 0x200 && now != sum;) {
        int64_t want = static_cast<int64_t>(static_cast<int32_t>(sum - now)) + image[i];
        uint8_t set = static_cast<uint8_t>(want < 0 ? 0 : want > 255 ? 255 : want);
        now += set - image[i];
        image[i] = set;
    }
}

bool is_one_of(const std::string &text, std::initializer_list<const char *> set)
{
    for (const char *s : set)
        if (text == s)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (patch_files.empty())
        set_up();
    if (size < header_length)
        return 0;

    const bool files_present = (data[0] & 3) != 0;
    const uint32_t signature_mode = (data[0] >> 2) & 3;
    uint32_t length;
    if (data[2] & 0x80) {
        length = catalogue_lengths[data[3] % catalogue_lengths.size()] + data[4] % 3 - 1;
        if (length < smallest_image)
            length = smallest_image;
    } else {
        length = smallest_image + (data[3] | data[4] << 8 | (data[2] & 0x7F) << 16) % general_span;
    }

    std::memcpy(original, background + data[5], length);
    lay_chunks(original, length, data, size, header_length);
    if (signature_mode == 1)
        force_crc(original, length, crcs[data[1] % crcs.size()]);
    if (signature_mode == 2)
        force_sum(original, length, sums[data[1] % sums.size()]);

    uint8_t *image = area + (largest_image - length);
    std::memcpy(image, original, length);
    // Named patches are looked up in the current folder; the fuzzer's own relative paths need the
    // folder it started in back afterwards.
    static char started_in[4096];
    if (!getcwd(started_in, sizeof started_in) ||
        chdir((files_present ? folder_with : folder_without).c_str()) != 0)
        std::abort();
    script_reset();
    save_filter = "*.bin";
    std::memset(patch_buffer, 0xEE, 256);

    const int32_t result = identify_source(image, length);
    if (chdir(started_in) != 0)
        std::abort();
    const std::vector<script_event> &events = script_events();

    if (std::memcmp(image, original, length) != 0)
        std::abort(); // identification only reads
    if (!is_one_of(save_filter, {"*.bin", "*.xdf", "*.dsk"}))
        std::abort();

    // A positive result is one whole named file, now in the patch buffer.
    if (result > 0) {
        bool whole_file = false;
        for (size_t i = 0; i < patch_files.size(); i++)
            if (files_present && static_cast<uint32_t>(result) == patch_files[i].length) {
                whole_file = true;
                for (uint32_t b = 0; b < patch_files[i].length; b++)
                    whole_file = whole_file && patch_buffer[b] == static_cast<uint8_t>(i);
            }
        if (!whole_file)
            std::abort();
    } else if (result != 0 && result != -1) {
        std::abort();
    }

    // Boxes with identification's own titles; a stop is told, last, in an "Error" box; the box
    // about an unknown source is followed by its CRC-32 on the clipboard, and the user picks a patch.
    for (size_t i = 0; i < events.size(); i++) {
        const script_event &e = events[i];
        if (e.kind == "box" && !is_one_of(e.title, {"Error", "Warning", "Unrecognized source file"}))
            std::abort();
        if (e.kind == "box" && e.title == "Unrecognized source file") {
            char crc_text[16];
            std::snprintf(crc_text, sizeof crc_text, "0x%08X", crc32_buffer(original, length));
            if (result != 0 || i + 2 != events.size() || events[i + 1].kind != "clipboard" ||
                events[i + 1].text != crc_text)
                std::abort();
        }
        if (e.kind != "box" && e.kind != "clipboard")
            std::abort(); // no dialog is opened here
    }
    if (result == -1 &&
        (events.empty() || events.back().kind != "box" || events.back().title != "Error"))
        std::abort();
    return 0;
}
