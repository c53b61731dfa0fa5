// The data of a run, one record that the readers fill and preparation, clustering and reports read.
#pragma once

#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"
#include "lib/string.hpp"

struct tExpressionData {
  matrix data;
  tNames names;                // the name of every row number 0 .. rows-1
  array<string> column_names;  // one per column; none for the matrix layout and simulated data
  // rows x cols flags, 1 where the input held no value (now filled as -missing says); empty
  // when no kept entry was missing.
  std::vector<unsigned char> missing;
  string format = "matrix";    // the layout read: matrix, tsv, ssv, csv, csv2, gct, pcl, simulated
  long long rows_read = 0;     // data rows in the input
  long long rows_dropped = 0;  // of those, dropped for missing values (-missing)
  long long missing_values = 0;       // entries missing in the input (NA and the like, not finite)
  std::vector<string> dropped_names;  // the rows dropped for missing values, in input order
  // rows kept: data.dim1(); rows left out by -top: rows_read - rows_dropped - data.dim1().
};
