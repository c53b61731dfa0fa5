// The delimited table formats (tsv, ssv, csv, csv2, gct, pcl): small header parsers over one
// field scanner.
#pragma once

#include <istream>

#include "cluster/input/expression_data.hpp"
#include "cluster/input/read_settings.hpp"
#include "cluster/input/text_blocks.hpp"

// Reads a table of format (not matrix, not automatic) from is. A header or first data row of one
// field (naming the -format its delimiter suggests), a header without value columns, a row with
// another field count than the header, a cell that is neither a number nor a missing-value mark,
// an empty input or a header without rows ends the run through bye(), naming input and line.
// Quotes (RFC 4180) are undone in tsv, ssv, csv and csv2; only csv fields hold line breaks. The
// data lines after the first, but for csv, are converted on the run's threads, in blocks and
// pieces as split says; the result and reports are the same for any thread count and split.
// text_bytes: the most bytes the text can hold, or -1 when unknown (see tRowStore).
tExpressionData read_table(std::istream& is, tTableFormat format, const string& input,
                           const tReadSettings& settings, std::ostream& progress,
                           const tTextSplit& split = tTextSplit(), long long text_bytes = -1);
