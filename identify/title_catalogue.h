// title_catalogue.h -- the titles the patcher knows, as ordered rows of tests and outcomes
#ifndef PATCHER_TITLE_CATALOGUE_H
#define PATCHER_TITLE_CATALOGUE_H

#include "identify/catalogue_rule.h"

#include <cstdint>

constexpr uint32_t title_catalogue_rows = 47;

// Walked in order after the already-patched and known-bad checks; the first row whose tests all
// hold decides.
extern const catalogue_rule title_catalogue[title_catalogue_rows];

#endif
