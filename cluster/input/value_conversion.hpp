// Numbers from single tokens: integer counts and the values of matrix entries.
#pragma once

#include <cstddef>

// The magnitude at which parse_integer saturates.
constexpr long long saturated_integer = 1000000000000000000LL;

// A whole token of an optional sign and decimal digits; value saturates at +-saturated_integer.
bool parse_integer(const char* token, long long& value);

// What a token or cell holds.
enum class tValueKind {
  number,      // wholly a finite number
  missing,     // a missing-value mark
  not_finite,  // a number out of range, an infinity or not-a-number: kept as 0.0
  not_number,  // not wholly a number (a leading number, if any, is the value)
};

// A token of the matrix layout: exactly "NA" or "NaN" are missing (0.0); otherwise the longest
// numeric prefix (strtod), 0.0 without one; a value that is not finite gives 0.0.
tValueKind matrix_token_value(const char* token, double& value);

// A cell of a table, text[0, length) with a NUL at length and 16 readable bytes after it:
// blanks around it are ignored; empty, NA, NaN, N/A, #N/A and null (any case) are missing
// (0.0); anything else must be wholly a number.
tValueKind cell_value(const char* text, std::size_t length, double& value);

// The plain decimal conversion of a whole token (see plain_decimal_prefix), or false.
bool whole_plain_decimal(const char* token, double& value);
