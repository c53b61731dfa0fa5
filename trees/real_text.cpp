// Shortest-call formatting of reals in the "%.17g" form.
#include "trees/real_text.hpp"

#include <charconv>

std::string real_text(double x) {
  char buffer[32];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 17);
  return std::string(buffer, written.ptr);
}
