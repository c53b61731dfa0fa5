// The splits of a tally as a table: taxa (names joined by ','), 0/1 pattern in taxon order, count
// and frequency, tab-separated under a header line, most frequent first.
#pragma once

#include <string>

#include "trees/split_tally.hpp"

std::string split_table(const tSplitTally& tally);
