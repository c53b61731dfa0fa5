// The expression matrix reader: header checks, streaming token conversion, row normalisation.
#include "cluster/matrix_input.hpp"

#include <unistd.h>

#include <climits>
#include <ostream>

#include "cluster/limits.hpp"
#include "cluster/token_reader.hpp"
#include "cluster/value_conversion.hpp"
#include "lib/diagnostics.hpp"

namespace {

long long read_count(tTokenReader& reader, const char* what) {
  const char* token = reader.next_word();
  if (*token == '\0') bye("Expression matrix: the text ends before the %s count", what);
  long long count = 0;
  if (!parse_integer(token, count) || count < 0)
    bye("Expression matrix: the %s count \"%s\" is not a non-negative integer", what,
        token_excerpt(token).c_str());
  // A saturated value would be reported as a number the text does not hold.
  if (count >= saturated_integer)
    bye("Expression matrix: the %s count \"%s\" is too large", what,
        token_excerpt(token).c_str());
  return count;
}

long long physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return LLONG_MAX;
  return static_cast<long long>(pages) * page_size;
}

}  // namespace

tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress) {
  tTokenReader reader(is);
  const long long rows = read_count(reader, "row");
  const long long cols = read_count(reader, "column");
  if (rows > max_rows)
    bye("Expression matrix: %lld rows; at most %d rows can be clustered (clusters hold row "
        "numbers in taxa sets)",
        rows, max_rows);
  require_matrix_fits(rows, cols);
  if (verbosity > 3) progress << "reading expression matrix..." << std::endl;

  const int n = static_cast<int>(rows);
  const int m = static_cast<int>(cols);
  tExpressionData input{matrix(n, m), tNames()};
  long long non_finite = 0;
  for (int i = 0; i < n; ++i) {
    input.names.insert(i, string(reader.next()));
    double* row = input.data.data() + static_cast<std::size_t>(i) * m;
    reader.next_values(row, static_cast<std::size_t>(m), value_of_token, non_finite);
  }
  if (non_finite > 0)
    warning("Expression matrix: %lld value(s) not finite, treated as missing (0.0)", non_finite);
  return input;
}

void require_matrix_fits(long long rows, long long cols) {
  // Entries are addressed by int offsets; the block must also fit in the machine's memory.
  const long long bytes_available = physical_memory_bytes();
  if (cols > INT_MAX || (rows > 0 && cols > INT_MAX / rows) ||
      rows * cols > bytes_available / static_cast<long long>(sizeof(double)))
    bye("A matrix of %lld x %lld values does not fit in memory", rows, cols);
}

void normalize_rows(matrix& data) {
  int zero_rows = 0;
  for (int r = 0; r < data.dim1(); ++r) {
    vector& row = data.row(r);
    const double length = row.length();
    if (length == 0) {
      ++zero_rows;
      continue;
    }
    double* entries = row.data();
    for (int j = 0; j < row.dim(); ++j) entries[j] = entries[j] / length;
  }
  if (zero_rows > 0) warning("-normalize: %d row(s) of length 0 left as they are", zero_rows);
}
