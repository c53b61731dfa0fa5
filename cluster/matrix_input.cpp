// The expression matrix reader: header checks, streaming token conversion, row normalisation.
#include "cluster/matrix_input.hpp"

#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "cluster/limits.hpp"
#include "cluster/token_reader.hpp"
#include "lib/diagnostics.hpp"

namespace {

long long read_count(tTokenReader& reader, const char* what) {
  const char* token = reader.next_word();
  if (*token == '\0') bye("Expression matrix: the text ends before the %s count", what);
  long long count = 0;
  if (!parse_integer(token, count) || count < 0)
    bye("Expression matrix: the %s count \"%s\" is not a non-negative integer", what, token);
  return count;
}

long long physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return LLONG_MAX;
  return static_cast<long long>(pages) * page_size;
}

// Tokens of the plain form [sign] digits [. digits] [e [sign] digits] whose digits make an
// integer of at most 2^53 and whose decimal exponent lies within 22 of it are one exact integer
// times or divided by one exact power of ten: a single rounding, so the result is bit for bit
// strtod's. Anything else is left to strtod (returns false).
bool plain_decimal(const char* p, double& value) {
  static const double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr unsigned long long exact_limit = 1ULL << 53;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  unsigned long long mantissa = 0;
  int digits = 0;
  int scale = 0;  // decimal exponent contributed by the digits after the point
  for (; *p >= '0' && *p <= '9'; ++p, ++digits) mantissa = mantissa * 10 + (*p - '0');
  if (*p == '.') {
    for (++p; *p >= '0' && *p <= '9'; ++p, ++digits, --scale) mantissa = mantissa * 10 + (*p - '0');
  }
  if (digits == 0 || digits > 19 || mantissa > exact_limit) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    const bool negative_exponent = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int exponent = 0;
    int exponent_digits = 0;
    for (; *p >= '0' && *p <= '9' && exponent_digits < 4; ++p, ++exponent_digits)
      exponent = exponent * 10 + (*p - '0');
    if (exponent_digits == 0) return false;
    scale += negative_exponent ? -exponent : exponent;
  }
  if (*p != '\0' || scale < -22 || scale > 22) return false;
  const double m = static_cast<double>(mantissa);
  const double magnitude = scale >= 0 ? m * powers_of_ten[scale] : m / powers_of_ten[-scale];
  value = negative ? -magnitude : magnitude;
  return true;
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
    for (int j = 0; j < m; ++j) row[j] = value_of_token(reader.next(), non_finite);
  }
  if (non_finite > 0)
    warning("Expression matrix: %lld value(s) not finite, treated as missing (0.0)", non_finite);
  return input;
}

double value_of_token(const char* token, long long& non_finite) {
  if (std::strcmp(token, "NA") == 0 || std::strcmp(token, "NaN") == 0) return 0.0;
  double value = 0.0;
  if (plain_decimal(token, value)) return value;
  value = std::strtod(token, nullptr);
  if (std::isfinite(value)) return value;
  ++non_finite;
  return 0.0;
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
