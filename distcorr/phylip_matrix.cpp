// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>

#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows put together side by side before they are written
constexpr long kCell = 25;      // a blank and at most 24 characters of "%.17g"
constexpr long kSlack = 32;     // cells are copied 32 bytes at a time, a fixed-size move

// The cells right of the diagonal of one row, each " value", and where each ends; kSlack bytes
// follow the last cell.
struct tUpperRow {
  std::unique_ptr<char[]> text;  // left uninitialised: every byte read was written
  std::vector<std::uint32_t> ends;
  std::uint32_t start(long k) const { return k == 0 ? 0 : ends[k - 1]; }
  std::uint32_t size() const { return ends.empty() ? 0 : ends.back(); }
};

// Writes " value" at out and returns its end. Adding 0.0 turns -0 (the log of 1, negated) into 0
// and leaves every other value as it is; to_chars writes exactly what printf's "%.17g" does.
char* put_number(char* out, double value) {
  *out = ' ';
  return std::to_chars(out + 1, out + kCell, value + 0.0, std::chars_format::general, 17).ptr;
}

tUpperRow upper_row(const tMatrix& m, int i) {
  const int n = m.dim1();
  const double* row = m.data() + static_cast<long>(i) * n;
  tUpperRow upper;
  upper.ends.reserve(n - i - 1);
  upper.text.reset(new char[kCell * (n - i - 1) + kSlack]);
  char* const begin = upper.text.get();
  char* end = begin;
  for (int j = i + 1; j < n; ++j) {
    end = put_number(end, row[j]);
    upper.ends.push_back(static_cast<std::uint32_t>(end - begin));
  }
  return upper;
}

// A row's text, in a buffer kept from row to row.
struct tRowText {
  std::unique_ptr<char[]> data;
  std::size_t capacity = 0, size = 0;
};

// Row i: the cells left of the diagonal are those right of it in the rows above.
void assemble_row(tRowText& text, const std::string& name, const std::vector<tUpperRow>& upper,
                  const tMatrix& m, int i) {
  const int n = m.dim1();
  // Names shorter than the classic ten-character field are padded so strict readers work too.
  const std::size_t padded = std::max<std::size_t>(name.size(), 10);
  const std::size_t most = padded + kCell * n + kSlack + 1;
  if (text.capacity < most) {
    text.data.reset(new char[most]);
    text.capacity = most;
  }
  char* out = text.data.get();
  std::memcpy(out, name.data(), name.size());
  std::memset(out + name.size(), ' ', padded - name.size());
  out += padded;
  for (int j = 0; j < i; ++j) {
    const tUpperRow& above = upper[j];
    const std::uint32_t start = above.start(i - j - 1);
    std::memcpy(out, above.text.get() + start, kSlack);
    out += above.ends[i - j - 1] - start;
  }
  out = put_number(out, m.data()[static_cast<long>(i) * n + i]);
  std::memcpy(out, upper[i].text.get(), upper[i].size());
  out += upper[i].size();
  *out++ = '\n';
  text.size = out - text.data.get();
}

}  // namespace

void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances) {
  const int n = distances.dim1();
  out << names.size() << '\n';
  // Each value is formatted once, for its cell right of the diagonal, and copied to its mirror.
  std::vector<tUpperRow> upper(n);
  parallel_for(n, [&](int i) { upper[i] = upper_row(distances, i); });
  std::vector<tRowText> rows(kBlockRows);
  for (int first = 0; first < n; first += kBlockRows) {
    const int count = std::min(kBlockRows, n - first);
    parallel_for(count, [&](int k) {
      assemble_row(rows[k], names[first + k], upper, distances, first + k);
    });
    for (int k = 0; k < count; ++k) out.write(rows[k].data.get(), static_cast<long>(rows[k].size));
  }
}

std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances) {
  std::ostringstream text;
  write_phylip_matrix(text, names, distances);
  return text.str();
}
