// Fuzzes the field scanner against a plain split of the whole text, and every table format
// with every missing-value policy and -top through the whole reader. The first input byte
// chooses format, policy and -top; the rest is the text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/field_scanner.hpp"
#include "cluster/input/matrix_input.hpp"
#include "fuzz/fatal_exit_guard.hpp"

namespace {

// The lines of text that are not empty, each split at every tab (no quoting).
std::vector<std::vector<std::string>> plain_lines(std::string text) {
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::vector<std::vector<std::string>> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    std::string line = text.substr(start, stop - start);
    start = stop + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    lines.push_back(fields);
  }
  return lines;
}

void check_scanner(const std::string& text) {
  std::istringstream is(text);
  tFieldScanner scanner(is, '\t', false);
  for (const std::vector<std::string>& expected : plain_lines(text)) {
    require(scanner.next_line(), "the scanner finds every line that is not empty");
    require(scanner.fields().size() == expected.size(), "as many fields as a plain split");
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const tField& field = scanner.fields()[i];
      require(std::string(field.text, field.size) == expected[i], "fields as a plain split");
      require(field.text[field.size] == '\0', "every field ends at a NUL");
    }
  }
  require(!scanner.next_line(), "no line after the last");
}

// The matrix layout takes a row's memory whole before its values arrive: a column count beyond
// this is not run, as it would only measure the machine.
bool announces_too_much(const std::string& text) {
  std::istringstream is(text);
  long long rows = 0, cols = 0;
  return is >> rows >> cols && cols > (1 << 18);
}

void check_reader(const std::string& text, std::uint8_t choice) {
  static const tTableFormat formats[] = {
      tTableFormat::automatic, tTableFormat::tsv, tTableFormat::ssv, tTableFormat::csv,
      tTableFormat::csv2,      tTableFormat::gct, tTableFormat::pcl, tTableFormat::matrix};
  tReadSettings settings;
  settings.format = formats[choice % 8];
  settings.missing = static_cast<tMissingPolicy>(choice / 8 % 3);
  settings.top = choice / 24 % 4;  // 0 keeps every row
  settings.log2 = (choice & 0x80) != 0;
  std::istringstream is(text);
  std::ostringstream progress;
  const tExpressionData input = read_expression_data(is, "fuzz", settings, progress);
  const matrix& data = input.data;
  require(input.names.size() == data.dim1(), "one name per row");
  require(input.column_names.size() == 0 || input.column_names.size() == data.dim2(),
          "one name per column, if any");
  require(input.missing.empty() ||
              input.missing.size() == static_cast<std::size_t>(data.dim1()) * data.dim2(),
          "one missing flag per entry");
  require(settings.top == 0 || data.dim1() <= settings.top, "-top keeps at most N rows");
  require(input.rows_read >= input.rows_dropped + data.dim1(), "rows kept and dropped add up");
  require(static_cast<long long>(input.dropped_names.size()) == input.rows_dropped,
          "every row dropped is named");
  for (long long e = 0; e < static_cast<long long>(data.dim1()) * data.dim2(); ++e)
    require(std::isfinite(data.data()[e]), "every value read is finite");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1 || size > (1 << 16)) return 0;
  const std::string text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  check_scanner(text);
  if (!announces_too_much(text)) run_until_fatal_exit([&] { check_reader(text, bytes[0]); });
  return 0;
}
