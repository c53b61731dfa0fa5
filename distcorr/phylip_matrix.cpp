// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>

#include "lib/large_block.hpp"
#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows put together side by side before they are written
constexpr long kCell = 25;      // a blank and at most 24 characters of "%.17g"
constexpr long kSlack = 32;     // cells are copied 32 bytes at a time, a fixed-size move

// Writes " value" at out and returns its end. Adding 0.0 turns -0 (the log of 1, negated) into 0
// and leaves every other value as it is; to_chars writes exactly what printf's "%.17g" does.
char* put_number(char* out, double value) {
  *out = ' ';
  return std::to_chars(out + 1, out + kCell, value + 0.0, std::chars_format::general, 17).ptr;
}

// The cells right of the diagonal, each " value", row after row in one large block (huge pages:
// on a virtual machine page faults cost more than the writing). Row i owns kCell bytes per cell
// from pair index first(i); end(i, j) is where its cell j ends within the row.
class tUpperCells {
 public:
  explicit tUpperCells(const tMatrix& m)
      : n_(m.dim1()),
        text_(large_block<char>(kCell * pairs(n_) + kSlack, false)),
        ends_(large_block<std::uint32_t>(pairs(n_), false)) {
    parallel_for(static_cast<int>(n_), [&](int i) { format_row(m, i); });
  }
  const char* row(long i) const { return text_.get() + kCell * first(i); }
  std::uint32_t start(long i, long j) const { return j == i + 1 ? 0 : end(i, j - 1); }
  std::uint32_t end(long i, long j) const { return ends_[first(i) + (j - i - 1)]; }
  std::uint32_t size(long i) const { return i + 1 == n_ ? 0 : end(i, n_ - 1); }

 private:
  static long pairs(long n) { return n * (n - 1) / 2; }
  long first(long i) const { return i * (2 * n_ - i - 1) / 2; }
  void format_row(const tMatrix& m, long i) {
    const double* values = m.data() + i * n_;
    char* const begin = text_.get() + kCell * first(i);
    char* out = begin;
    for (long j = i + 1; j < n_; ++j) {
      out = put_number(out, values[j]);
      ends_[first(i) + (j - i - 1)] = static_cast<std::uint32_t>(out - begin);
    }
  }

  long n_;
  tLargeBlock<char> text_;  // left uninitialised: every byte read was written
  tLargeBlock<std::uint32_t> ends_;
};

// A row's text, in a buffer kept from row to row.
struct tRowText {
  std::unique_ptr<char[]> data;
  std::size_t capacity = 0, size = 0;
};

// Row i: the cells left of the diagonal are those right of it in the rows above.
void assemble_row(tRowText& text, const std::string& name, const tUpperCells& upper,
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
    const std::uint32_t start = upper.start(j, i);
    std::memcpy(out, upper.row(j) + start, kSlack);
    out += upper.end(j, i) - start;
  }
  out = put_number(out, m.data()[static_cast<long>(i) * n + i]);
  std::memcpy(out, upper.row(i), upper.size(i));
  out += upper.size(i);
  *out++ = '\n';
  text.size = out - text.data.get();
}

}  // namespace

void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances) {
  const int n = distances.dim1();
  out << names.size() << '\n';
  // Each value is formatted once, for its cell right of the diagonal, and copied to its mirror.
  const tUpperCells upper(distances);
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
