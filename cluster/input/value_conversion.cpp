// Conversion of single tokens, the fast exact path first and strtod for every other form.
#include "cluster/input/value_conversion.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cluster/input/plain_decimal.hpp"

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

tValueKind matrix_token_value(const char* token, double& value) {
  value = 0.0;
  if (std::strcmp(token, "NA") == 0 || std::strcmp(token, "NaN") == 0) return tValueKind::missing;
  if (whole_plain_decimal(token, value)) return tValueKind::number;
  char* end = nullptr;
  value = std::strtod(token, &end);
  if (!std::isfinite(value)) {
    value = 0.0;
    return tValueKind::not_finite;
  }
  return *token != '\0' && *end == '\0' ? tValueKind::number : tValueKind::not_number;
}

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

bool is_missing_mark(const char* text, std::size_t length) {
  static const char* const marks[] = {"na", "nan", "n/a", "#n/a", "null"};
  if (length == 0) return true;
  for (const char* mark : marks) {
    if (std::strlen(mark) != length) continue;
    std::size_t i = 0;
    while (i < length && (text[i] | 0x20) == mark[i]) ++i;
    if (i == length) return true;
  }
  return false;
}

}  // namespace

tValueKind cell_value(const char* text, std::size_t length, double& value) {
  value = 0.0;
  const char* stop = plain_decimal_prefix(text, value);
  if (stop == text + length) return tValueKind::number;
  while (length > 0 && is_blank(*text)) ++text, --length;
  while (length > 0 && is_blank(text[length - 1])) --length;
  value = 0.0;
  if (is_missing_mark(text, length)) return tValueKind::missing;
  char* end = nullptr;
  value = std::strtod(text, &end);
  if (end != text + length) {
    value = 0.0;
    return tValueKind::not_number;
  }
  if (std::isfinite(value)) return tValueKind::number;
  value = 0.0;
  return tValueKind::not_finite;
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
