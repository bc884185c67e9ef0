// title_catalogue.cpp -- the title catalogue: every known title, its tests and what follows
//
// To add a title, give its values a name below and add a row at the place where it must be tried;
// the engine needs no change. Order matters: the first row whose tests all hold decides. Within a
// row, put the cheap tests (header, length, checksum word) before the byte sums.
//
// Header texts are copies of the cartridge header from 0x100 on (0x150 where noted): the 16-byte
// system name, the 16-byte maker and date, the 48-byte domestic title, the 48-byte overseas title
// and the 14-byte serial number, 142 bytes up to the checksum word at 0x18E.
//
// Every header test compares its whole stored text, with one exception kept on purpose (row 45).
// Every text at 0x100 begins with the same system name, so a header test cut down to a few bytes
// would hold for any cartridge at all; the title would then be told only by length and byte sum,
// and an unrelated image that happened to share a sum would have the wrong patch loaded into it.
// The whole text makes the header test mean what it says. Row 45 takes dumps of row 44's cartridge
// whose title fields differ, so it compares the system name, the maker and date and the first
// title byte: 33 bytes.
#include "identify/title_catalogue.h"

namespace {

constexpr uint32_t full_header_length = 142;    // system name up to the serial number
constexpr uint32_t header_at_system_name = 0x100; // where the cartridge header starts
constexpr uint32_t header_at_overseas_title = 0x150;

constexpr uint32_t kib_256 = 0x40000;
constexpr uint32_t kib_512 = 0x80000;
constexpr uint32_t mib_1 = 0x100000;
constexpr uint32_t mib_2 = 0x200000;
constexpr uint32_t mib_3 = 0x300000;
constexpr uint32_t mib_4 = 0x400000;

constexpr char xdf[] = "*.xdf"; // the save pattern for the PC disk images
constexpr char dsk[] = "*.dsk";

// ---- Cartridges and disks known by CRC-32 alone (rows 1 to 15) ---------------------------------

constexpr uint32_t crownfall_ii_crcs[] = {0xFE4F5263};
constexpr uint32_t crownfall_ii_other_revision_crcs[] = {
    0xC1F49414, 0x456D044B, 0xA7865584, 0xDDC012F8, 0x516B64AE,
    0x8B64441C, 0xCF2ED1DF, 0xDE2BA9C8, 0xE6A11024,
};
constexpr uint32_t nightblade_iii_crcs[] = {0x5926363F, 0x635917D4, 0xBC322BD5, 0x3EC5C2E3};
constexpr uint32_t nightblade_iii_other_region_crcs[] = {
    0x05FE0288, 0x744AD6F8, 0xA222643E, 0xD194910B, 0x4EE14C1F,
};
constexpr uint32_t sable_gale_crcs[] = {0x0F0F15FA, 0x775D096D, 0x7FF35253};
constexpr uint32_t japanese_release_crcs[] = {0xA407E15D, 0x5229E07D, 0xDBFD22D6};
constexpr uint32_t ironline_crcs[] = {0xA1D8C4FE, 0xA3BAF3D7};
constexpr uint32_t unclean_american_crcs[] = {
    0x26C3AC87, 0xBA04A117, 0x6713961F, 0xFC4DB29B, 0xE6D0EF70, 0xF78A830F, 0xFBD66481, 0xEC717A40,
    0xB7B9315A, 0xC97816B5, 0x81F276F3, 0xD5E0957E, 0xB614AEA5, 0xAFCE6DFE, 0x4F6E57A5, 0x65EB2FC4,
};
constexpr uint32_t qorvax_crcs[] = {0x3459E6E5};
constexpr uint32_t incompatible_disk_crcs[] = {0x3406B7AE};
constexpr uint32_t graveward_phantom_tale_crcs[] = {0xFA625685};
constexpr uint32_t little_lantern_waltz_crcs[] = {0xD8BE0863};
constexpr uint32_t tone_studio_deluxe_crcs[] = {0x2A4BEB2D};
constexpr uint32_t morwenna_crcs[] = {0x1374D0DA, 0xB14E93E7, 0x44913985};
constexpr uint32_t orla_ii_crcs[] = {0x22B9B0D0, 0x637BE33B};

// ---- The boot disk of Orla II, known by its files (rows 16 and 17) ------------------------------

// FAT directory entries: 8-character name, 3-character extension, attribute 0x20 (archive).
constexpr uint32_t orla_ii_loader_entry_at = 0x14A0;
constexpr uint32_t orla_ii_boot_entry_at = 0x15C0;
constexpr uint32_t orla_ii_sample_entry_at = 0x1600;
constexpr uint8_t orla_ii_loader_entry[] = "ORL1    z   ";
constexpr uint8_t orla_ii_boot_entry[] = "OBOOT   X   ";
constexpr uint8_t orla_ii_sample_entry[] = "SAMPLE1 TXT ";

// The start of the loader's code on the disk the patch was made for.
constexpr uint32_t orla_ii_loader_code_at = 0x7C800;
constexpr uint8_t orla_ii_loader_code[block_size] = {
    0xEB, 0x3C, 0x90, 0x4F, 0x52, 0x4C, 0x41, 0x32, 0x2E, 0x30, 0x31, 0x00, 0x04, 0x01, 0x01, 0x00,
    0x02, 0xC0, 0x00, 0xD0, 0x04, 0xFE, 0x02, 0x00, 0x08, 0x00, 0x02, 0x00, 0xFA, 0x33, 0xC0, 0x8E,
};
constexpr uint32_t orla_ii_smallest_disk = 132000; // no boot disk image is smaller

// ---- Cartridges known by length and CRC-32 (rows 18 to 25) ------------------------------------

constexpr uint32_t tale_of_brin_crcs[] = {0xAC9BFD2B, 0xA7432D65, 0x5A76C1B1};
constexpr uint32_t tale_of_cora_crcs[] = {0x8686CA22, 0x006A6BD3, 0x7B1317A0};
constexpr uint32_t tale_of_dov_crcs[] = {0xFCC0B749, 0x05EC9F85, 0xBB5E0E52};
constexpr uint32_t tale_of_esk_crcs[] = {0xA3FBD5EF};
constexpr uint32_t tale_of_fenna_crcs[] = {0x3AD4D072};
constexpr uint32_t tale_of_hild_crcs[] = {0xF8052FE1};
constexpr uint32_t tale_of_ivor_crcs[] = {0x2F751AFF};
constexpr uint32_t iron_pennant_crcs[] = {0xFEA4E7D5, 0xFAA695B3};

// ---- Cartridges known by header, length, checksum word and byte sum (rows 26 to 47) ------------

constexpr uint8_t titan_throne_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-81 1991.DEC"
    "TITAN THRONE                                    "
    "TITAN THRONE                                    "
    "GM T-81016 -00";
// A dump whose title fields are filled out with zero bytes instead of spaces.
constexpr uint8_t titan_throne_zero_filled_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-81 1991.DEC"
    "TITAN THRONE\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
    "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
    "TITAN THRONE\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
    "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
    "GM T-81016 -00";
constexpr uint8_t titan_throne_checksum[] = {0x8F, 0x3A};
constexpr uint32_t titan_throne_sums[] = {0x055B51A8};
constexpr uint32_t titan_throne_zero_filled_sums[] = {0x0411DFED};

constexpr uint8_t starpike_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-47 1993.APR"
    "STARPIKE                                        "
    "STARPIKE                                        "
    "GM T-47092 -00";
constexpr uint8_t starpike_checksum[] = {0x2C, 0xD1};
constexpr uint32_t starpike_sums[] = {0x050FD770};

constexpr uint8_t skyrush_duo_2_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-12 1992.NOV"
    "SKYRUSH DUO 2                                   "
    "SKYRUSH DUO 2                                   "
    "GM T-12055 -00";
constexpr uint8_t skyrush_duo_2_revision_01_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-12 1993.FEB"
    "SKYRUSH DUO 2                                   "
    "SKYRUSH DUO 2                                   "
    "GM T-12055 -01";
// A later pressing known by its first two fields only.
constexpr uint8_t skyrush_duo_2_pressing_header[] =
    "SEGA GENESIS    "
    "(C)T-12 1993.JUN";
constexpr uint32_t skyrush_duo_2_sums[] = {0x050E3339};
constexpr uint32_t skyrush_duo_2_revision_01_sums[] = {0x050D9B7C, 0x0601C495, 0x052CC8DE};
constexpr uint32_t skyrush_duo_2_pressing_sums[] = {0x03C93240, 0x0668D46D};
constexpr uint32_t skyrush_duo_2_bad_pressing_sums[] = {0x042D7805};

constexpr uint8_t voltkid_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-26 1992.AUG"
    "VOLTKID                                         "
    "VOLTKID                                         "
    "GM T-26031 -00";
constexpr uint8_t voltkid_checksum[] = {0x61, 0x07};
constexpr uint8_t voltkid_revision_checksum[] = {0xB4, 0x5E};
constexpr uint32_t voltkid_sums[] = {0x0BB1D56C};
constexpr uint32_t voltkid_revision_sums[] = {0x0BE5657E};
constexpr uint32_t voltkid_french_sums[] = {0x0B28BC1C};

constexpr uint8_t glimmer_saga_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-64 1994.MAR"
    "GLIMMER SAGA                                    "
    "GLIMMER SAGA                                    "
    "GM T-64120 -00";
// An earlier release known by its system name, maker and date, and the first 12 title bytes.
constexpr uint8_t glimmer_saga_first_release_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-64 1994.JAN"
    "GLIMMER SAGA";
constexpr uint32_t glimmer_saga_sums[] = {0x0518B8C7, 0x05AA152F};
constexpr uint32_t glimmer_saga_first_release_sums[] = {0x034A4665};

constexpr uint8_t puppet_blast_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-33 1993.SEP"
    "PUPPET BLAST                                    "
    "PUPPET BLAST                                    "
    "GM T-33072 -00";
// Compared at 0x150: the overseas title and the serial number of a second printing.
constexpr uint8_t puppet_blast_second_printing_tail[] =
    "PUPPET BLAST                                    "
    "GM T-33072 -01";
// The header that the beta and the USA/European releases share.
constexpr uint8_t puppet_blast_export_header[] =
    "SEGA GENESIS    "
    "(C)T-33 1993.JUL"
    "PUPPET BLAST                                    "
    "PUPPET BLAST                                    "
    "GM T-33072 -02";
constexpr uint32_t puppet_blast_sums[] = {0x0792317B, 0x09D06D23, 0x068BDA2E, 0x0A611A99,
                                          0x0C92DF12};
constexpr uint32_t puppet_blast_second_printing_sums[] = {0x0C327164};
constexpr uint32_t puppet_blast_beta_sums[] = {0x06B8C00E, 0x0BF48801, 0x0B87906B};
constexpr uint32_t puppet_blast_export_sums[] = {0x06F1F634, 0x096FCF9D};

constexpr uint32_t tale_of_jory_sums[] = {0x00DAA7B7, 0x010C4BA4, 0x0138CF21, 0x0126A1C7};

// Known by its system name, maker and date, and domestic title.
constexpr uint8_t graveward_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-58 1991.OCT"
    "GRAVEWARD                                       ";
constexpr uint32_t graveward_sums[] = {0x04C41142, 0x0484886E, 0x05EFE9FE, 0x03B1E643};

constexpr uint8_t spirit_ledger_header[] =
    "SEGA MEGA DRIVE "
    "(C)T-95 1994.DEC"
    "SPIRIT LEDGER                                   "
    "SPIRIT LEDGER                                   "
    "GM T-95004 -00";
constexpr uint32_t spirit_ledger_short_compare = 33; // system name, maker and date, one title byte
constexpr uint32_t spirit_ledger_sums[] = {0x094FA4DA, 0x097C58D6, 0x0B6C6110,
                                           0x121D11B8, 0x096A9F32, 0x09DC126B};
constexpr uint32_t spirit_ledger_other_titles_sums[] = {0x0D68364F};
constexpr uint32_t spirit_ledger_bad_sums[] = {0x0F3225D4};
constexpr uint32_t spirit_ledger_translated_sums[] = {0x0AEB77AD, 0x1094585B, 0x0E371BCA};

static_assert(sizeof titan_throne_header - 1 == full_header_length, "whole header");
static_assert(sizeof titan_throne_zero_filled_header - 1 == full_header_length, "whole header");
static_assert(sizeof starpike_header - 1 == full_header_length, "whole header");
static_assert(sizeof skyrush_duo_2_header - 1 == full_header_length, "whole header");
static_assert(sizeof skyrush_duo_2_revision_01_header - 1 == full_header_length, "whole header");
static_assert(sizeof skyrush_duo_2_pressing_header - 1 == 32, "system name, maker and date");
static_assert(sizeof voltkid_header - 1 == full_header_length, "whole header");
static_assert(sizeof glimmer_saga_header - 1 == full_header_length, "whole header");
static_assert(sizeof glimmer_saga_first_release_header - 1 == 44, "up to 12 title bytes");
static_assert(sizeof puppet_blast_header - 1 == full_header_length, "whole header");
static_assert(sizeof puppet_blast_second_printing_tail - 1 == 62, "overseas title and serial");
static_assert(sizeof puppet_blast_export_header - 1 == full_header_length, "whole header");
static_assert(sizeof graveward_header - 1 == 80, "up to the domestic title");
static_assert(sizeof spirit_ledger_header - 1 == full_header_length, "whole header");

// A header test over the whole stored text.
template <uint32_t size>
constexpr catalogue_test header_is(uint32_t offset, const uint8_t (&text)[size])
{
    return header_equals(offset, text_of(text), size - 1);
}

// ---- The rows' tests ---------------------------------------------------------------------------

constexpr catalogue_test row_1[] = {crc_in(crownfall_ii_crcs)};
constexpr catalogue_test row_2[] = {crc_in(crownfall_ii_other_revision_crcs)};
constexpr catalogue_test row_3[] = {crc_in(nightblade_iii_crcs)};
constexpr catalogue_test row_4[] = {crc_in(nightblade_iii_other_region_crcs)};
constexpr catalogue_test row_5[] = {crc_in(sable_gale_crcs)};
constexpr catalogue_test row_6[] = {crc_in(japanese_release_crcs)};
constexpr catalogue_test row_7[] = {crc_in(ironline_crcs)};
constexpr catalogue_test row_8[] = {crc_in(unclean_american_crcs)};
constexpr catalogue_test row_9[] = {crc_in(qorvax_crcs)};
constexpr catalogue_test row_10[] = {crc_in(incompatible_disk_crcs)};
constexpr catalogue_test row_11[] = {crc_in(graveward_phantom_tale_crcs)};
constexpr catalogue_test row_12[] = {crc_in(little_lantern_waltz_crcs)};
constexpr catalogue_test row_13[] = {crc_in(tone_studio_deluxe_crcs)};
constexpr catalogue_test row_14[] = {crc_in(morwenna_crcs)};
constexpr catalogue_test row_15[] = {crc_in(orla_ii_crcs)};

constexpr catalogue_test row_16[] = {
    dir_entry_equals(orla_ii_loader_entry_at, orla_ii_loader_entry),
    dir_entry_equals(orla_ii_boot_entry_at, orla_ii_boot_entry),
    dir_entry_equals(orla_ii_sample_entry_at, orla_ii_sample_entry),
    block_equals(orla_ii_loader_code_at, orla_ii_loader_code),
    length_at_least(orla_ii_smallest_disk),
};
constexpr catalogue_test row_17[] = {
    dir_entry_equals(orla_ii_loader_entry_at, orla_ii_loader_entry),
    dir_entry_equals(orla_ii_boot_entry_at, orla_ii_boot_entry),
    dir_entry_equals(orla_ii_sample_entry_at, orla_ii_sample_entry),
    length_at_least(orla_ii_smallest_disk),
};

constexpr catalogue_test row_18[] = {length_equals(kib_256), crc_in(tale_of_brin_crcs)};
constexpr catalogue_test row_19[] = {length_equals(kib_256), crc_in(tale_of_cora_crcs)};
constexpr catalogue_test row_20[] = {length_equals(kib_256), crc_in(tale_of_dov_crcs)};
constexpr catalogue_test row_21[] = {length_equals(kib_256), crc_in(tale_of_esk_crcs)};
constexpr catalogue_test row_22[] = {length_equals(kib_256), crc_in(tale_of_fenna_crcs)};
constexpr catalogue_test row_23[] = {length_equals(kib_256), crc_in(tale_of_hild_crcs)};
constexpr catalogue_test row_24[] = {length_equals(kib_256), crc_in(tale_of_ivor_crcs)};
constexpr catalogue_test row_25[] = {length_equals(kib_512), crc_in(iron_pennant_crcs)};

constexpr catalogue_test row_26[] = {
    header_is(header_at_system_name, titan_throne_header),
    length_equals(mib_1),
    checksum_word_equals(titan_throne_checksum),
    sum_in(titan_throne_sums),
};
constexpr catalogue_test row_27[] = {
    header_is(header_at_system_name, titan_throne_zero_filled_header),
    length_equals(mib_1),
    checksum_word_equals(titan_throne_checksum),
    sum_in(titan_throne_zero_filled_sums),
};
constexpr catalogue_test row_28[] = {
    header_is(header_at_system_name, starpike_header),
    length_equals(mib_1),
    checksum_word_equals(starpike_checksum),
    sum_in(starpike_sums),
};
constexpr catalogue_test row_29[] = {
    header_is(header_at_system_name, skyrush_duo_2_header),
    length_equals(mib_1),
    sum_in(skyrush_duo_2_sums),
};
constexpr catalogue_test row_30[] = {
    header_is(header_at_system_name, skyrush_duo_2_revision_01_header),
    length_equals(mib_1),
    sum_in(skyrush_duo_2_revision_01_sums),
};
constexpr catalogue_test row_31[] = {
    header_is(header_at_system_name, skyrush_duo_2_pressing_header),
    length_equals(mib_1),
    sum_in(skyrush_duo_2_pressing_sums),
};
constexpr catalogue_test row_32[] = {
    header_is(header_at_system_name, skyrush_duo_2_pressing_header),
    length_equals(mib_1),
    sum_in(skyrush_duo_2_bad_pressing_sums),
};
constexpr catalogue_test row_33[] = {
    header_is(header_at_system_name, voltkid_header),
    length_equals(mib_2),
    checksum_word_equals(voltkid_checksum),
    sum_in(voltkid_sums),
};
constexpr catalogue_test row_34[] = {
    header_is(header_at_system_name, voltkid_header),
    length_equals(mib_2),
    checksum_word_equals(voltkid_revision_checksum),
    sum_in(voltkid_revision_sums),
};
constexpr catalogue_test row_35[] = {length_equals(mib_2), sum_in(voltkid_french_sums)};
constexpr catalogue_test row_36[] = {
    header_is(header_at_system_name, glimmer_saga_header),
    length_equals(mib_1),
    sum_in(glimmer_saga_sums),
};
constexpr catalogue_test row_37[] = {
    header_is(header_at_system_name, glimmer_saga_first_release_header),
    length_equals(mib_1),
    sum_in(glimmer_saga_first_release_sums),
};
constexpr catalogue_test row_38[] = {
    header_is(header_at_system_name, puppet_blast_header),
    length_equals(mib_2),
    sum_in(puppet_blast_sums),
};
constexpr catalogue_test row_39[] = {
    header_is(header_at_overseas_title, puppet_blast_second_printing_tail),
    length_equals(mib_2),
    sum_in(puppet_blast_second_printing_sums),
};
constexpr catalogue_test row_40[] = {
    header_is(header_at_system_name, puppet_blast_export_header),
    sum_in(puppet_blast_beta_sums),
};
constexpr catalogue_test row_41[] = {
    header_is(header_at_system_name, puppet_blast_export_header),
    sum_in(puppet_blast_export_sums),
};
constexpr catalogue_test row_42[] = {length_equals(kib_256), sum_in(tale_of_jory_sums)};
constexpr catalogue_test row_43[] = {
    header_is(header_at_system_name, graveward_header),
    length_equals(mib_1),
    sum_in(graveward_sums),
};
constexpr catalogue_test row_44[] = {
    header_is(header_at_system_name, spirit_ledger_header),
    length_equals(mib_3),
    sum_in(spirit_ledger_sums),
};
constexpr catalogue_test row_45[] = {
    header_equals(header_at_system_name, text_of(spirit_ledger_header),
                  spirit_ledger_short_compare),
    length_equals(mib_3),
    sum_in(spirit_ledger_other_titles_sums),
};
constexpr catalogue_test row_46[] = {
    header_is(header_at_system_name, spirit_ledger_header),
    length_equals(mib_4),
    sum_in(spirit_ledger_bad_sums),
};
constexpr catalogue_test row_47[] = {length_equals(mib_3), sum_in(spirit_ledger_translated_sums)};

// ---- What the rows lead to ---------------------------------------------------------------------

constexpr char orla_ii_patch[] = "Starlit Maiden Orla II Jap-Eng Translation.ips";
constexpr char titan_throne_patch[] = "Titan Throne Jap-Eng Translation.ips";
constexpr char voltkid_patch[] = "Voltkid Jap-Eng Translation.ips";
constexpr char glimmer_saga_patch[] = "Glimmer Saga Jap-Eng Translation.ips";
constexpr char puppet_blast_patch[] = "Puppet Blast Jap-Eng Translation.ips";
constexpr char spirit_ledger_patch[] = "Spirit Ledger Jap-Eng Translation.ips";

} // namespace

const catalogue_rule title_catalogue[title_catalogue_rows] = {
    /* 1 */ rule(row_1, load_patch("Crownfall II Jap-Eng Translation.ips")),
    /* 2 */ rule(row_2, reject("This ROM is incompatible with the Crownfall II patch.\n\n"
                               "You need the unpatched Revision 02 version.")),
    /* 3 */ rule(row_3, load_patch("Nightblade III.ips")),
    /* 4 */ rule(row_4, reject("This ROM is incompatible with the Nightblade III patch.\n\n"
                               "You need the American version.")),
    /* 5 */ rule(row_5, load_patch("Sable Gale.ips")),
    /* 6 */ rule(row_6, reject("This is the Japanese ROM. You need the American version.")),
    /* 7 */ rule(row_7, load_patch("Ironline - Strike Unit.ips")),
    /* 8 */ rule(row_8, reject("You need a clean copy of the American version.")),
    /* 9 */ rule(row_9, load_patch("Qorvax Jap-Eng Translation.ips", xdf)),
    /* 10 */ rule(row_10, reject("This disk image is known to be incompatible with this patch.")),
    /* 11 */ rule(row_11, load_patch("Graveward - Phantom Tale Jap-Eng Translation.ips", xdf)),
    /* 12 */ rule(row_12, load_patch("Little Lantern Waltz Jap-Eng Translation.ips", xdf)),
    /* 13 */ rule(row_13, load_patch("Tone Studio Deluxe Jap-Eng Translation.ips", xdf)),
    /* 14 */ rule(row_14, load_patch("Morwenna Jap-Eng Translation.ips", dsk)),
    /* 15 */ rule(row_15, load_patch(orla_ii_patch, xdf)),
    /* 16 */
    rule(row_16, load_patch(orla_ii_patch, xdf,
                            "This disk image is unrecognized but appears to be the Orla II boot "
                            "disk.\n\nIt may or may not work, but please report it so this "
                            "program can be improved.")),
    /* 17 */
    rule(row_17, reject("This disk image is unrecognized but appears to be the Orla II boot "
                        "disk.\n\nIt doesn't appear compatible, but please report it so this "
                        "program can be improved.")),
    /* 18 */ rule(row_18, load_patch("Tale of Brin Jap-Eng Translation.ips")),
    /* 19 */ rule(row_19, load_patch("Tale of Cora Jap-Eng Translation.ips")),
    /* 20 */ rule(row_20, load_patch("Tale of Dov Jap-Eng Translation.ips")),
    /* 21 */ rule(row_21, load_patch("Tale of Esk Jap-Eng Translation.ips")),
    /* 22 */ rule(row_22, load_patch("Tale of Fenna Jap-Eng Translation.ips")),
    /* 23 */ rule(row_23, load_patch("Tale of Hild Jap-Eng Translation.ips")),
    /* 24 */ rule(row_24, load_patch("Tale of Ivor Jap-Eng Translation.ips")),
    /* 25 */ rule(row_25, load_patch("Iron Pennant Graphics Hack.ips")),
    /* 26 */ rule(row_26, load_patch(titan_throne_patch)),
    /* 27 */ rule(row_27, load_patch(titan_throne_patch)),
    /* 28 */ rule(row_28, load_patch("Starpike Jap-Eng Translation.ips")),
    /* 29 */ rule(row_29, ask_user()),
    /* 30 */ rule(row_30, ask_user()),
    /* 31 */ rule(row_31, ask_user()),
    /* 32 */ rule(row_32, reject("This ROM is bad. Try a different one.")),
    /* 33 */ rule(row_33, load_patch(voltkid_patch)),
    /* 34 */ rule(row_34, load_patch(voltkid_patch)),
    /* 35 */
    rule(row_35, reject("This ROM appears to be the French translation of Voltkid.\n"
                        "You need the original, unpatched Japanese ROM file.")),
    /* 36 */ rule(row_36, load_patch(glimmer_saga_patch)),
    /* 37 */ rule(row_37, load_patch(glimmer_saga_patch)),
    /* 38 */ rule(row_38, load_patch(puppet_blast_patch)),
    /* 39 */ rule(row_39, load_patch(puppet_blast_patch)),
    /* 40 */
    rule(row_40, reject("This ROM appears to be the beta version of Puppet Blast.\n"
                        "You need the official Japanese release.")),
    /* 41 */
    rule(row_41, reject("This ROM appears to be the USA/European version of Puppet Blast.\n"
                        "You need the Japanese ROM file.")),
    /* 42 */ rule(row_42, load_patch("Tale of Jory Jap-Eng Translation.ips")),
    /* 43 */ rule(row_43, load_patch("Graveward Jap-Eng Translation.ips")),
    /* 44 */ rule(row_44, load_patch(spirit_ledger_patch)),
    /* 45 */ rule(row_45, load_patch(spirit_ledger_patch)),
    /* 46 */ rule(row_46, reject("This ROM is bad and is not supported by this patch.")),
    /* 47 */
    rule(row_47, reject("This ROM appears to be a known Spirit Ledger translation.\n"
                        "You need the original Japanese release.")),
};
