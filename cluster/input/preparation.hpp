// Preparation of the data read, in this order: missing values and -log2 row by row as rows
// arrive (prepare_row), the -top selection by row_variance, then -center or -zscore over the rows
// kept (prepare_rows); -normalize belongs to the clustering.
#pragma once

#include "cluster/input/read_settings.hpp"
#include "lib/matrix.hpp"

// Applies policy to one row whose entries flagged in missing are missing (and 0.0); false when
// the row is to be dropped (drop: any missing entry; rowmean: no entry present).
bool fill_missing(double* row, const unsigned char* missing, int cols, tMissingPolicy policy);

// Replaces every entry x by log2(x + 1); a negative entry ends the run through bye(), naming
// input, row and column.
void log2_row(double* row, int cols, const char* input, const char* row_name);

// The variance of the row's entries about their mean (sums in column order, divided by cols).
double row_variance(const double* row, int cols);

// Subtracts each row's mean from its entries.
void center_rows(matrix& data);
// Subtracts each row's mean and divides by its standard deviation (divisor cols - 1); rows of
// zero variance become zero and are counted in one warning.
void zscore_rows(matrix& data);

// One warning when every entry is >= 0: the sign bisection cannot split such rows.
void warn_if_nonnegative(const matrix& data);

// The steps of one row as it arrives: missing values as settings say, then -log2; false when the
// row is to be dropped.
bool prepare_row(double* row, const unsigned char* missing, int cols, const tReadSettings& settings,
                 const char* input, const char* row_name);

// The steps over the rows kept: -center or -zscore, else the warning of warn_if_nonnegative.
void prepare_rows(matrix& data, const tReadSettings& settings);

// Scales every row to unit length; rows of length 0 stay as they are (one warning).
void normalize_rows(matrix& data);
