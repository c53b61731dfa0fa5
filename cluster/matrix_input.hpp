// Reading the expression matrix text and the optional scaling of its rows to unit length.
#pragma once

#include <iosfwd>

#include "lib/matrix.hpp"
#include "lib/names.hpp"

// The data of a run: one row per item, named.
struct tExpressionData {
  matrix data;
  tNames names;  // the name of every row number 0 .. rows-1
};

// Reads the counts rows and cols, then per row a name token and cols value tokens. A header
// that is missing, malformed, negative or too large ends the run through bye() before anything
// is allocated; "reading expression matrix..." goes to progress at verbosity above 3.
tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress);

// Ends the run through bye() when a rows x cols matrix cannot be held.
void require_matrix_fits(long long rows, long long cols);

// Scales every row to unit length; rows of length 0 stay as they are (one warning).
void normalize_rows(matrix& data);
