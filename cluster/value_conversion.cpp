// Conversion of single tokens, the fast exact path first and strtod for every other form.
#include "cluster/value_conversion.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cluster/plain_decimal.hpp"

bool parse_integer(const char* token, long long& value) {
  constexpr long long limit = saturated_integer;
  const char* p = token;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p == '\0') return false;
  long long magnitude = 0;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    magnitude = magnitude <= limit / 10 ? magnitude * 10 + (*p - '0') : limit;
  }
  if (magnitude > limit) magnitude = limit;
  value = negative ? -magnitude : magnitude;
  return true;
}

double value_of_token(const char* token, long long& non_finite) {
  if (std::strcmp(token, "NA") == 0 || std::strcmp(token, "NaN") == 0) return 0.0;
  double value = 0.0;
  if (whole_plain_decimal(token, value)) return value;
  value = std::strtod(token, nullptr);
  if (std::isfinite(value)) return value;
  ++non_finite;
  return 0.0;
}

// The token is copied first, since the conversion reads sixteen bytes past the digits; no plain
// decimal is 32 bytes long.
bool whole_plain_decimal(const char* token, double& value) {
  char copy[64] = {};
  const std::size_t length = std::strlen(token);
  if (length >= 32) return false;
  std::memcpy(copy, token, length);
  const char* stop = plain_decimal_prefix(copy, value);
  return stop != nullptr && *stop == '\0';
}
