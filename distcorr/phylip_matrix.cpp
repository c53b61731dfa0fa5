// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>

#include "lib/direct_cache.hpp"
#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows formatted side by side before they are written
constexpr long kCell = 25;      // a blank and at most 24 characters of "%.17g"
constexpr int kCacheBits = 15;  // text of 32,768 values per thread

// " value" of one distance, padded so that it is copied as one fixed-size move.
struct tCellText {
  char text[32];
  std::uint32_t size;
};

// Adding 0.0 turns -0 (the log of 1, negated) into 0 and leaves every other value as it is;
// to_chars writes exactly what printf's "%.17g" does.
tCellText cell_text(double value) {
  tCellText cell;
  cell.text[0] = ' ';
  const char* end =
      std::to_chars(cell.text + 1, cell.text + 1 + kCell, value, std::chars_format::general, 17)
          .ptr;
  cell.size = static_cast<std::uint32_t>(end - cell.text);
  return cell;
}

// A matrix holds few distinct values (a distance is a function of a few small counts), so each
// thread keeps the text of the values it met last.
using tTextCache = tDirectCache<double, tCellText, kCacheBits>;

// Writes the cell of value at out and returns its end.
char* put_cell(char* out, double value, tTextCache& cache) {
  value += 0.0;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const tCellText& cell = cache.get(value, mixed_hash(bits), cell_text);
  std::memcpy(out, cell.text, sizeof cell.text);
  return out + cell.size;
}

// A row's text, in a buffer kept from block to block.
struct tRowText {
  std::unique_ptr<char[]> data;
  std::size_t capacity = 0, size = 0;
};

void format_row(tRowText& text, const std::string& name, const double* values, int n,
                tTextCache& cache) {
  // Names shorter than the classic ten-character field are padded so strict readers work too.
  const std::size_t padded = std::max<std::size_t>(name.size(), 10);
  const std::size_t most = padded + kCell * n + sizeof(tCellText::text) + 1;
  if (text.capacity < most) {
    text.data.reset(new char[most]);
    text.capacity = most;
  }
  char* out = text.data.get();
  std::memcpy(out, name.data(), name.size());
  std::memset(out + name.size(), ' ', padded - name.size());
  out += padded;
  for (int j = 0; j < n; ++j) out = put_cell(out, values[j], cache);
  *out++ = '\n';
  text.size = out - text.data.get();
}

}  // namespace

void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances, tTerminalProgress* progress) {
  const int n = distances.dim1();
  out << names.size() << '\n';
  std::vector<tRowText> rows(kBlockRows);
  // One cache per thread, kept from block to block.
  std::vector<tTextCache> caches(thread_count());
  for (int first = 0; first < n; first += kBlockRows) {
    const int count = std::min(kBlockRows, n - first);
    std::atomic<int> taken{0};
    parallel_for_with_state(
        count, [&] { return &caches[taken++]; },
        [&](tTextCache* cache, int k) {
          const long i = first + k;
          format_row(rows[k], names[i], distances.data() + i * n, n, *cache);
        });
    for (int k = 0; k < count; ++k) out.write(rows[k].data.get(), static_cast<long>(rows[k].size));
    if (progress) progress->advance(count);
  }
}

std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances) {
  std::ostringstream text;
  write_phylip_matrix(text, names, distances);
  return text.str();
}
