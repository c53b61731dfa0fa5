// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <charconv>
#include <sstream>

#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows formatted side by side before they are written

void format_row(std::string& text, const std::string& name, const double* row, int n) {
  text = name;
  // Names shorter than the classic ten-character field are padded so strict readers work too.
  if (name.size() < 10) text.append(10 - name.size(), ' ');
  char number[32] = {' '};
  for (int j = 0; j < n; ++j) {
    // Adding 0.0 turns -0 (the log of 1, negated) into 0 and leaves every other value as it is.
    const double value = row[j] + 0.0;
    // Exactly what printf's "%.17g" writes, without its per-call cost.
    const auto written =
        std::to_chars(number + 1, number + sizeof number, value, std::chars_format::general, 17);
    text.append(number, written.ptr);
  }
  text += '\n';
}

}  // namespace

void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances) {
  const int n = distances.dim1();
  out << names.size() << '\n';
  std::vector<std::string> rows(kBlockRows);
  for (int first = 0; first < n; first += kBlockRows) {
    const int count = std::min(kBlockRows, n - first);
    parallel_for(count, [&](int k) {
      format_row(rows[k], names[first + k], distances.data() + static_cast<long>(first + k) * n, n);
    });
    for (int k = 0; k < count; ++k) out.write(rows[k].data(), static_cast<long>(rows[k].size()));
  }
}

std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances) {
  std::ostringstream text;
  write_phylip_matrix(text, names, distances);
  return text.str();
}
