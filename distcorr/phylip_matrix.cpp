// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <charconv>
#include <cstdint>
#include <sstream>

#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows put together side by side before they are written

// The cells right of the diagonal of one row, each " value", and where each ends.
struct tUpperRow {
  std::string text;
  std::vector<std::uint32_t> ends;
  std::string_view cell(long k) const {  // k-th cell right of the diagonal
    const std::uint32_t start = k == 0 ? 0 : ends[k - 1];
    return std::string_view(text).substr(start, ends[k] - start);
  }
};

void append_number(std::string& text, double value) {
  char number[32] = {' '};
  // Adding 0.0 turns -0 (the log of 1, negated) into 0 and leaves every other value as it is.
  // Exactly what printf's "%.17g" writes, without its per-call cost.
  const auto written = std::to_chars(number + 1, number + sizeof number, value + 0.0,
                                     std::chars_format::general, 17);
  text.append(number, written.ptr);
}

tUpperRow upper_row(const tMatrix& m, int i) {
  const int n = m.dim1();
  const double* row = m.data() + static_cast<long>(i) * n;
  tUpperRow upper;
  upper.ends.reserve(n - i - 1);
  upper.text.reserve(25 *
                     static_cast<std::size_t>(n - i - 1));  // a blank and at most 24 characters
  for (int j = i + 1; j < n; ++j) {
    append_number(upper.text, row[j]);
    upper.ends.push_back(static_cast<std::uint32_t>(upper.text.size()));
  }
  return upper;
}

// Row i: the cells left of the diagonal are those right of it in the rows above.
void assemble_row(std::string& text, const std::string& name, const std::vector<tUpperRow>& upper,
                  const tMatrix& m, int i) {
  text = name;
  // Names shorter than the classic ten-character field are padded so strict readers work too.
  if (name.size() < 10) text.append(10 - name.size(), ' ');
  for (int j = 0; j < i; ++j) text += upper[j].cell(i - j - 1);
  append_number(text, m.data()[static_cast<long>(i) * m.dim1() + i]);
  text += upper[i].text;
  text += '\n';
}

}  // namespace

void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances) {
  const int n = distances.dim1();
  out << names.size() << '\n';
  // Each value is formatted once, for its cell right of the diagonal, and copied to its mirror.
  std::vector<tUpperRow> upper(n);
  parallel_for(n, [&](int i) { upper[i] = upper_row(distances, i); });
  std::vector<std::string> rows(kBlockRows);
  for (int first = 0; first < n; first += kBlockRows) {
    const int count = std::min(kBlockRows, n - first);
    parallel_for(count, [&](int k) {
      assemble_row(rows[k], names[first + k], upper, distances, first + k);
    });
    for (int k = 0; k < count; ++k) out.write(rows[k].data(), static_cast<long>(rows[k].size()));
  }
}

std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances) {
  std::ostringstream text;
  write_phylip_matrix(text, names, distances);
  return text.str();
}
