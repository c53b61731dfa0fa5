// The delimited table formats (tsv, csv, gct, pcl): small header parsers over one field scanner.
#pragma once

#include <istream>

#include "cluster/matrix_input.hpp"
#include "cluster/text_blocks.hpp"

// Reads a table of format (not matrix, not automatic) from is. A row with another field count
// than the header, a cell that is neither a number nor a missing-value mark, an empty input or a
// header without rows ends the run through bye(), naming input and line. The data lines of the
// formats without quoting are converted on the run's threads, in blocks and pieces as split
// says; the result and reports are the same for any thread count and split.
tExpressionData read_table(std::istream& is, tTableFormat format, const string& input,
                           const tReadSettings& settings, std::ostream& progress,
                           const tTextSplit& split = tTextSplit());
