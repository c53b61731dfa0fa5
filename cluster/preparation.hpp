// Preparation of the data read: missing values, -log2, the variance of -top, -center, -zscore.
#pragma once

#include "lib/matrix.hpp"

enum class tMissingPolicy { zero, rowmean, drop };

// The missing-value word of -missing (zero, rowmean, drop); false for another word.
bool missing_policy_named(const char* word, tMissingPolicy& policy);

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
