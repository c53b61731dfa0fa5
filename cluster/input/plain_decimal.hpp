// Exact fast conversion of plain decimal numbers, bit for bit as strtod.
#pragma once

#include <cstddef>

// The longest prefix of text of the form [sign] digits [. digits] [e [sign] digits] when its
// digits make an integer of at most 2^53 and its decimal exponent lies within 22 of it: that is
// one exact integer times or divided by one exact power of ten, a single rounding, so value is
// bit for bit strtod's. Returns the end of that prefix, or nullptr for text of another form
// (left to strtod). Reads up to sixteen bytes past the end of the number's digits.
const char* plain_decimal_prefix(const char* text, double& value);

// Converts the tokens at text + starts[0 .. n) into values while each is a plain decimal ending
// at white space or at text_end; returns how many. Each token converts on its own.
using tConvertTokens = std::size_t (*)(const char* text, const char* text_end,
                                       const std::size_t* starts, std::size_t n, double* values);
// The conversion of this run: with byte shuffles when the kernels run four lanes (AVX2).
tConvertTokens token_converter();
