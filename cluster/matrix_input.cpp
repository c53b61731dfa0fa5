// The expression data reader: the choice of format, the matrix layout with its header checks and
// streaming token conversion, and row normalisation.
#include "cluster/matrix_input.hpp"

#include <unistd.h>

#include <climits>
#include <ostream>
#include <string>

#include "cluster/input_bytes.hpp"
#include "cluster/limits.hpp"
#include "cluster/row_collector.hpp"
#include "cluster/table_reader.hpp"
#include "cluster/token_reader.hpp"
#include "cluster/value_conversion.hpp"
#include "lib/diagnostics.hpp"

namespace {

long long read_count(tTokenReader& reader, const char* what) {
  const char* token = reader.next();
  if (*token == '\0') bye("Expression matrix: the text ends before the %s count", what);
  long long count = 0;
  if (!parse_integer(token, count) || count < 0)
    bye("Expression matrix: the %s count \"%s\" is not a non-negative integer", what,
        token_excerpt(token).c_str());
  // A saturated value would be reported as a number the text does not hold.
  if (count >= saturated_integer)
    bye("Expression matrix: the %s count \"%s\" is too large", what, token_excerpt(token).c_str());
  return count;
}

long long physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return LLONG_MAX;
  return static_cast<long long>(pages) * page_size;
}

}  // namespace

namespace {

// What the conversion of the tokens that are not plain decimals noted, for one warning.
struct tTokenNotes {
  unsigned char* missing = nullptr;  // the flags of the row being read
  long long odd = 0;                 // tokens not wholly a number, missing marks included
  long long marks = 0;               // NA and NaN
  long long non_finite = 0;
  long long first_row = -1;
  std::size_t first_column = 0;
  std::string first_token;
  long long row = 0;
};

double note_token(const char* token, std::size_t column, void* context) {
  tTokenNotes& notes = *static_cast<tTokenNotes*>(context);
  double value = 0.0;
  const tValueKind kind = matrix_token_value(token, value);
  if (kind == tValueKind::number) return value;
  if (kind == tValueKind::not_finite) {
    ++notes.non_finite;
    notes.missing[column] = 1;
    return value;
  }
  if (kind == tValueKind::missing) {
    ++notes.marks;
    notes.missing[column] = 1;
  }
  if (notes.odd++ == 0) {
    notes.first_row = notes.row;
    notes.first_column = column;
    notes.first_token = token_excerpt(token).c_str();
  }
  return value;
}

void warn_of_odd_tokens(const tTokenNotes& notes, const string& input, const std::string& name) {
  if (notes.odd > 0)
    warning(
        "Expression matrix %s: %lld value token(s) not wholly a number (%lld of them missing "
        "values NA or NaN), read as their leading number or 0.0; the first: row %lld (\"%s\"), "
        "column %zu: \"%s\"",
        input.c_str(), notes.odd, notes.marks, notes.first_row, token_excerpt(name.c_str()).c_str(),
        notes.first_column, notes.first_token.c_str());
  if (notes.non_finite > 0)
    warning("Expression matrix: %lld value(s) not finite, treated as missing (0.0)",
            notes.non_finite);
}

[[noreturn]] void truncated(const string& input, long long row, const char* place, long long rows,
                            long long cols, const std::string& hint) {
  bye("Expression matrix %s: the text ends at row %lld, %s, before its %lld x %lld values%s",
      input.c_str(), row, place, rows, cols, hint.c_str());
}

// Text after the last value means the counts do not describe the text.
void warn_of_trailing_text(tTokenReader& reader, const string& input) {
  long long tokens = 0;
  for (; !reader.at_end(); ++tokens) reader.next();
  if (tokens > 0)
    warning("Expression matrix %s: %lld token(s) after the last value; are the counts right?",
            input.c_str(), tokens);
}

tExpressionData read_matrix_layout(std::istream& is, const string& input,
                                   const tReadSettings& settings, const std::string& hint,
                                   std::ostream& progress) {
  tTokenReader reader(is);
  const long long rows = read_count(reader, "row");
  const long long cols = read_count(reader, "column");
  if (rows > max_rows && settings.top == 0)
    bye("Expression matrix: %lld rows; at most %d rows can be clustered (clusters hold row "
        "numbers in taxa sets): -top N keeps the N rows of largest variance",
        rows, max_rows);
  if (settings.top == 0) require_matrix_fits(rows, cols);
  require_matrix_fits(1, cols);
  if (settings.verbosity > 3) progress << "reading expression matrix..." << std::endl;

  const int m = static_cast<int>(cols);
  tRowCollector collector(settings, input, m, rows);
  tTokenNotes notes;
  std::string name, first_odd_name;
  for (long long i = 0; i < rows; ++i) {
    if (reader.at_end()) truncated(input, i, "before its name", rows, cols, hint);
    name = reader.next();
    double* values = collector.values();
    notes.missing = collector.missing();
    notes.row = i;
    const long long odd_before = notes.odd;
    const std::size_t read =
        reader.next_values(values, static_cast<std::size_t>(m), note_token, &notes);
    if (read < static_cast<std::size_t>(m)) {
      const std::string place =
          "column " + std::to_string(read) + " of \"" + token_excerpt(name.c_str()).c_str() + "\"";
      truncated(input, i, place.c_str(), rows, cols, hint);
    }
    if (odd_before == 0 && notes.odd > 0) first_odd_name = name;
    collector.add(name.c_str());
  }
  warn_of_odd_tokens(notes, input, first_odd_name);
  warn_of_trailing_text(reader, input);
  return collector.finish(tTableFormat::matrix, array<string>());
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
