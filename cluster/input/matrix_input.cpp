// The expression data reader: the choice of format, then the reader of that format.
#include "cluster/input/matrix_input.hpp"

#include <ostream>
#include <string>

#include "cluster/input/matrix_layout.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/input/table_reader.hpp"
#include "io/input_bytes.hpp"
#include "lib/diagnostics.hpp"

namespace {

// Deflate packs at most 1032 bytes into one.
constexpr long long max_inflation = 1032;

// The bytes left in is when it can tell (a file), else -1.
long long bytes_left(std::istream& is) {
  std::streambuf* buffer = is.rdbuf();
  if (buffer == nullptr) return -1;
  const std::streamoff here = buffer->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
  if (here < 0) return -1;
  const std::streamoff end = buffer->pubseekoff(0, std::ios_base::end, std::ios_base::in);
  buffer->pubseekpos(here, std::ios_base::in);
  return end < here ? -1 : static_cast<long long>(end - here);
}

}  // namespace

tExpressionData read_expression_data(std::istream& is, const string& name,
                                     const tReadSettings& settings, std::ostream& progress) {
  const long long size = bytes_left(is);
  tInputBytes bytes(is, name);
  const std::string& head = bytes.head(1 << 16);
  tTableFormat format = settings.format;
  if (format == tTableFormat::automatic) {
    format = detect_format(head);
    // The matrix layout of a plain text goes without a word: its runs keep their output.
    if (settings.verbosity >= 1 && (format != tTableFormat::matrix || bytes.compressed()))
      message("# Input format: %s%s (chosen from the content)\n", format_name(format),
              bytes.compressed() ? ", gzip" : "");
  }
  const long long text_bytes = size < 0 ? -1 : (bytes.compressed() ? size * max_inflation : size);
  if (format == tTableFormat::matrix)
    return read_matrix_layout(bytes.stream(), name, settings, header_row_hint(head), progress,
                              tTextSplit(), text_bytes);
  return read_table(bytes.stream(), format, name, settings, progress, tTextSplit(), text_bytes);
}

tExpressionData read_prepared_data(std::istream& is, const string& name,
                                   const tReadSettings& settings, std::ostream& progress) {
  tExpressionData data = read_expression_data(is, name, settings, progress);
  prepare_rows(data.data, settings);
  return data;
}

tExpressionData read_expression_matrix(std::istream& is, int verbosity, std::ostream& progress) {
  tReadSettings settings;
  settings.format = tTableFormat::matrix;
  settings.verbosity = verbosity;
  return read_expression_data(is, "input", settings, progress);
}
