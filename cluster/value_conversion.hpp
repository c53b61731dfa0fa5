// Numbers from single tokens: integer counts and the values of matrix entries.
#pragma once

// The magnitude at which parse_integer saturates.
constexpr long long saturated_integer = 1000000000000000000LL;

// A whole token of an optional sign and decimal digits; value saturates at +-saturated_integer.
bool parse_integer(const char* token, long long& value);

// The value of one token: 0.0 for exactly "NA" or "NaN"; otherwise the longest numeric prefix
// (strtod), 0.0 without one. A value that is not finite counts in non_finite and gives 0.0.
double value_of_token(const char* token, long long& non_finite);

// The plain decimal conversion of a whole token (see plain_decimal_prefix), or false.
bool whole_plain_decimal(const char* token, double& value);
