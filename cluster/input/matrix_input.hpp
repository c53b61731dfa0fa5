// Reading expression data in any layout, and the one call that reads and prepares them.
#pragma once

#include <iosfwd>

#include "cluster/input/expression_data.hpp"
#include "cluster/input/read_settings.hpp"
#include "lib/string.hpp"

// Reads the data from is (a file or standard input, gzip or not; name labels the reports) in
// the format settings name or the one -format auto finds (said at verbosity 1 and up), with
// missing values, -log2 and -top applied row by row. Every fault of the text ends the run
// through bye(); "reading expression matrix..." goes to progress at verbosity above 3.
tExpressionData read_expression_data(std::istream& is, const string& name,
                                     const tReadSettings& settings, std::ostream& progress);

// read_expression_data, then -center or -zscore (see prepare_rows): the data as a clustering
// takes them.
tExpressionData read_prepared_data(std::istream& is, const string& name,
                                   const tReadSettings& settings, std::ostream& progress);

// Reads the counts rows and cols, then per row a name token and cols value tokens (the matrix
// layout of a plain stream, with the defaults of tReadSettings).
tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress);
