// Reading the expression matrix text and the optional scaling of its rows to unit length.
#pragma once

#include <iosfwd>
#include <vector>

#include "cluster/preparation.hpp"
#include "cluster/table_format.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"

// The data of a run, one record from the reader through preparation to the reports.
struct tExpressionData {
  matrix data;
  tNames names;                // the name of every row number 0 .. rows-1
  array<string> column_names;  // one per column; none for the matrix layout and simulated data
  // rows x cols flags, 1 where the input held no value (now filled as -missing says); empty
  // when no kept entry was missing.
  std::vector<unsigned char> missing;
  string format = "matrix";      // the layout read: matrix, tsv, csv, gct, pcl (or simulated)
  long long rows_read = 0;       // data rows in the input
  long long rows_dropped = 0;    // of those, dropped for missing values (-missing)
  long long missing_values = 0;  // entries missing in the input (NA and the like, not finite)
  // rows kept: data.dim1(); rows left out by -top: rows_read - rows_dropped - data.dim1().
};

// How the data are to be read and prepared while reading.
struct tReadSettings {
  tTableFormat format = tTableFormat::automatic;
  tMissingPolicy missing = tMissingPolicy::zero;
  bool log2 = false;
  int top = 0;  // keep the rows of largest variance, this many; 0 keeps every row
  int verbosity = 0;
};

// Reads the data from is (a file or standard input, gzip or not; name labels the reports) in
// the format settings name or the one -format auto finds (said at verbosity 1 and up), with
// missing values, -log2 and -top applied row by row. Every fault of the text ends the run
// through bye(); "reading expression matrix..." goes to progress at verbosity above 3.
tExpressionData read_expression_data(std::istream& is, const string& name,
                                     const tReadSettings& settings, std::ostream& progress);

// Reads the counts rows and cols, then per row a name token and cols value tokens (the matrix
// layout of a plain stream, with the defaults of tReadSettings).
tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress);

// Ends the run through bye() when a rows x cols matrix cannot be held.
void require_matrix_fits(long long rows, long long cols);

// Scales every row to unit length; rows of length 0 stay as they are (one warning).
void normalize_rows(matrix& data);
