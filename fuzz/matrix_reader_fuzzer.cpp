// Fuzzes the expression matrix reader and row normalisation with the input as the matrix text.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "cluster/input/matrix_input.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/input/value_conversion.hpp"
#include "fuzz/fatal_exit_guard.hpp"
#include "fuzz/stdin_from.hpp"

namespace {

// Memory follows the rows the text holds, but one row is taken whole before its values arrive:
// a column count of a few bytes may ask for gigabytes. Such inputs are not run: they would only
// measure the machine.
constexpr long long max_columns = 1 << 18;

bool too_large(const std::string& text) {
  std::size_t p = 0;
  long long counts[2] = {0, 0};
  for (long long& count : counts) {
    p = text.find_first_not_of(" \t\n\v\f\r", p);
    if (p == std::string::npos) return false;
    const std::size_t end = std::min(text.find_first_of(" \t\n\v\f\r", p), text.size());
    if (!parse_integer(text.substr(p, end - p).c_str(), count) || count < 0) return false;
    p = end;
  }
  return counts[1] > max_columns;
}

void read_and_normalize(std::istream& is) {
  std::ostringstream progress;
  tExpressionData input = read_expression_matrix(is, 4, progress);
  const matrix& data = input.data;
  require(input.names.size() == data.dim1(), "one name per row");
  for (int i = 0; i < data.dim1(); ++i)
    for (int j = 0; j < data.dim2(); ++j)
      require(std::isfinite(data.data()[static_cast<std::size_t>(i) * data.dim2() + j]),
              "every value read is finite");
  normalize_rows(input.data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  if (too_large(text)) return 0;
  run_until_fatal_exit([&] {
    std::istringstream is(text);
    read_and_normalize(is);
  });
  run_until_fatal_exit([&] {
    std::istringstream is(text);
    tStdinFrom redirect(is.rdbuf());
    read_and_normalize(std::cin);
  });
  return 0;
}
