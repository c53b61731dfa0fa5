// Fuzzes the two ways a delimited table's row is read: the first data row goes through the field
// scanner, the later ones through the pieces converted side by side. The first data row of the
// text, read once more as the second, must give the same name, value bits and missing flags. The
// first input byte chooses the format (tsv, ssv, csv2, gct, pcl) and the piece size; the rest is
// the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/table_reader.hpp"
#include "fuzz/fatal_exit_guard.hpp"

namespace {

// A line the reader passes over: empty once a CR at its end is dropped, or for blank-separated
// fields, blanks and tabs only.
bool skipped(std::string line, tTableFormat format) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line.empty() ||
         (format == tTableFormat::ssv && line.find_first_not_of(" \t") == std::string::npos);
}

// The first two lines of text that the reader does not pass over, or false.
bool header_and_row(const std::string& text, tTableFormat format, std::string& header,
                    std::string& row) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; lines.size() < 2 && std::getline(in, line);)
    if (!skipped(line, format)) lines.push_back(line);
  if (lines.size() < 2) return false;
  header = lines[0];
  row = lines[1];
  return true;
}

// Quotes that pair up within the line: the row holds no line break of its own.
bool quotes_close(const std::string& line) {
  std::size_t quotes = 0;
  for (const char c : line) quotes += c == '"';
  return quotes % 2 == 0;
}

void compare_paths(const std::string& text, std::uint8_t choice) {
  static const tTableFormat formats[] = {tTableFormat::tsv, tTableFormat::ssv, tTableFormat::csv2,
                                         tTableFormat::gct, tTableFormat::pcl};
  const tTableFormat format = formats[choice % 5];
  std::string header, row;
  if (!header_and_row(text, format, header, row) || !quotes_close(row)) return;
  // A byte-order mark is skipped at the start of the text only, where the header goes.
  if (header.compare(0, 3, "\xEF\xBB\xBF") == 0) return;
  // gct's first two lines come before the header row proper: the samples are its fields after two.
  const long long samples =
      static_cast<long long>(std::count(header.begin(), header.end(), '\t')) - 1;
  if (format == tTableFormat::gct && samples < 0) return;
  const std::string head =
      format == tTableFormat::gct ? "#1.2\n2\t" + std::to_string(samples) + "\n" : "";
  std::istringstream is(head + header + "\n" + row + "\n" + row + "\n");
  std::ostringstream progress;
  tTextSplit split;
  split.block_bytes = 1 + choice / 20;
  split.piece_bytes = 1 + choice % 7;
  const tExpressionData read = read_table(is, format, "fuzz", tReadSettings(), progress, split);
  require(read.data.dim1() == 2, "the row and its copy are both read");
  const std::size_t cols = static_cast<std::size_t>(read.data.dim2());
  require(read.names.get_name(0) == read.names.get_name(1), "the same name both ways");
  require(std::memcmp(read.data.data(), read.data.data() + cols, cols * sizeof(double)) == 0,
          "the same value bits both ways");
  require(read.missing.empty() ||
              std::memcmp(read.missing.data(), read.missing.data() + cols, cols) == 0,
          "the same missing flags both ways");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1 || size > (1 << 16)) return 0;
  const std::string text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  run_until_fatal_exit([&] { compare_paths(text, bytes[0]); });
  return 0;
}
