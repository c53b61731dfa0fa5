// The expression data reader: the choice of format, the memory check and row normalisation.
#include "cluster/matrix_input.hpp"

#include <unistd.h>

#include <climits>
#include <ostream>
#include <string>

#include "cluster/matrix_layout.hpp"
#include "cluster/table_reader.hpp"
#include "io/input_bytes.hpp"
#include "lib/diagnostics.hpp"

namespace {

long long physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return LLONG_MAX;
  return static_cast<long long>(pages) * page_size;
}

}  // namespace

tExpressionData read_expression_data(std::istream& is, const string& name,
                                     const tReadSettings& settings, std::ostream& progress) {
  tInputBytes bytes(is, name);
  const std::string& head = bytes.head(1 << 16);
  tTableFormat format = settings.format;
  if (format == tTableFormat::automatic) {
    format = detect_format(head);
    // The legacy layout, read as always, goes without a word.
    if (settings.verbosity >= 1 && (format != tTableFormat::matrix || bytes.compressed()))
      message("# Input format: %s%s (chosen from the content)\n", format_name(format),
              bytes.compressed() ? ", gzip" : "");
  }
  if (format == tTableFormat::matrix)
    return read_matrix_layout(bytes.stream(), name, settings, header_row_hint(head), progress);
  return read_table(bytes.stream(), format, name, settings, progress);
}

tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress) {
  tReadSettings settings;
  settings.format = tTableFormat::matrix;
  settings.verbosity = verbosity;
  return read_expression_data(is, "input", settings, progress);
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
