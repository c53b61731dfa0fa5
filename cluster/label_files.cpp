// Reading and writing label columns, with every fault of an assignment file reported by row.
#include "cluster/label_files.hpp"

#include <ostream>
#include <string>
#include <vector>

#include "cluster/token_reader.hpp"
#include "cluster/value_conversion.hpp"
#include "io/input_file.hpp"
#include "lib/diagnostics.hpp"

namespace {

// The first limit tokens of the file (fewer when it ends sooner).
std::vector<std::string> leading_tokens(std::istream& file, int limit) {
  tTokenReader reader(file);
  std::vector<std::string> tokens;
  for (const char* token;
       static_cast<int>(tokens.size()) < limit && *(token = reader.next()) != '\0';)
    tokens.emplace_back(token);
  return tokens;
}

}  // namespace

array<int> read_initial_assignment(const string& file_name, int rows, int k) {
  const char* name = file_name.c_str();
  tInputFile file(file_name, tInputNeed::any);
  const std::vector<std::string> tokens = leading_tokens(file.stream(), rows + 1);

  // Exactly rows tokens: the labels alone, as -init_clusters_out writes them.
  const std::size_t first = static_cast<int>(tokens.size()) == rows ? 0 : 1;
  long long value = 0;
  if (first == 1 && tokens.empty())
    bye("Initial assignment file %s: the file ends before the row count", name);
  if (first == 1 && !parse_integer(tokens[0].c_str(), value))
    bye("Initial assignment file %s: the row count \"%s\" is not an integer", name,
        token_excerpt(tokens[0].c_str()).c_str());

  array<int> assignment(rows);
  for (int r = 0; r < rows; ++r) {
    if (first + r >= tokens.size())
      bye("Initial assignment file %s: the file ends before the cluster index of row %d", name, r);
    const char* token = tokens[first + r].c_str();
    if (!parse_integer(token, value))
      bye("Initial assignment file %s: row %d: \"%s\" is not an integer", name, r,
          token_excerpt(token).c_str());
    if (value < 0 || value >= k)
      bye("Initial assignment file %s: row %d: cluster index %s is outside 0 .. %d", name, r,
          token_excerpt(token).c_str(), k - 1);
    assignment[r] = static_cast<int>(value);
  }
  return assignment;
}

namespace {

// value in decimal, as the stream's default integer insertion writes it, then a newline.
void append_line(std::string& text, long long value) {
  char digits[24];
  char* first = digits + sizeof digits;
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = '-';
  text.append(first, digits + sizeof digits);
  text += '\n';
}

// The lines go to the stream in one write.
void write_lines(std::ostream& os, const array<int>& labels, bool count_line) {
  std::string text;
  text.reserve(static_cast<std::size_t>(labels.size() + 1) * 4);
  if (count_line) append_line(text, labels.size());
  for (int label : labels) append_line(text, label);
  os.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

void write_initial_assignment(std::ostream& os, const array<int>& assignment) {
  write_lines(os, assignment, false);
}

void write_label_file(std::ostream& os, const array<int>& labels) {
  write_lines(os, labels, true);
}

void check_written(std::ostream& os, const string& name) {
  if (!os.flush()) bye("Can't write file: %s", name.c_str());
}

array<int> cluster_labels(const array<tTaxaSet>& clusters, int rows) {
  array<int> labels(rows);
  for (int i = 0; i < clusters.size(); ++i)
    for (tItem it = clusters[i].first_item(); it != 0; it = clusters[i].next_item(it))
      labels[clusters[i].inf(it)] = i;
  return labels;
}
