// catalogue_data.cpp -- the built-in values: signatures of patched results and of bad sources
#include "identify/catalogue_data.h"

const uint32_t current_result_crcs[current_result_crc_count] = {
    0x9B9B1326, 0xD1A6E55F, 0xC55A45F9, 0x566BF9D8, 0x4243ED53, 0xCF0C26F0,
    0x265BEDAA, 0x5D96CF80, 0xB7DECC0D, 0xC1D77D00, 0xDD70E34E, 0x5E6A0A2F,
    0x55AC0ECE, 0x04635138, 0x3B4A3EE3, 0xB37523A6, 0xAD915A37, 0x4DE45322,
    0xE6BA3AD8, 0x9823BEB2, 0x1FCFB981, 0xDD4EABBE,
};

const uint32_t outdated_result_crcs[outdated_result_crc_count] = {
    0x0CC8AF12, 0x683447C2, 0x5BAE2D27, 0xBFB637DE, 0x4CA87FC3,
    0xAED09B83, 0x9A0B2362, 0x158D003E, 0x2E825CE2, 0x1FF13535,
};

const uint32_t current_result_sums[current_result_sum_count] = {
    0x01FE197A, 0x077EBE51, 0x0B745E56, 0x011B3E95, 0x08846807,
    0x0A9868C6, 0x0AA299E3, 0x0E48479F, 0x0DD1B91E,
};

const uint32_t outdated_result_sums[outdated_result_sum_count] = {
    0x07B93518, 0x0FCB121C, 0x14E5D3D4, 0x16EBB176, // ascending
};

const uint32_t known_bad_source_crcs[known_bad_source_crc_count] = {
    0x983B6369, 0xD5BAA978, 0x11D5D724,
};
