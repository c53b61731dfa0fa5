// Pieces end after line feeds, so each converts its lines without looking at the others. The
// text is only read: a cell that the fast conversion leaves is copied, NUL-terminated, first.
#include "cluster/table_pieces.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cluster/plain_decimal.hpp"
#include "cluster/white_space.hpp"
#include "lib/parallel.hpp"

namespace {

// Bit i set where byte i of the 64 at p is c.
inline std::uint64_t byte_mask(const char* p, char c) {
#if defined(__SSE2__)
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    mask |= static_cast<std::uint64_t>(
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8(c)))))
            << (16 * part);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) mask |= static_cast<std::uint64_t>(p[i] == c) << i;
  return mask;
#endif
}

// The starts of the fields of the line [begin, end), 64 bytes at a time (a line block has 64
// readable bytes after it). True when the line holds no white space but delimiters: then a
// plain decimal that ends at white space ends exactly at its cell's end.
bool split_line(const char* text, std::size_t begin, std::size_t end, char delimiter,
                std::vector<std::size_t>& starts) {
  starts.clear();
  starts.push_back(begin);
  std::uint64_t other_space = 0;
  for (std::size_t base = begin; base < end; base += 64) {
    const std::uint64_t inside = end - base < 64 ? (1ULL << (end - base)) - 1 : ~0ULL;
    const std::uint64_t delimiters = byte_mask(text + base, delimiter) & inside;
    other_space |= space_mask(text + base) & ~delimiters & inside;
    for (std::uint64_t d = delimiters; d != 0; d &= d - 1)
      starts.push_back(base + static_cast<std::size_t>(__builtin_ctzll(d)) + 1);
  }
  return other_space == 0;
}

// The value of the cell text[0, length), exactly as cell_value gives it in place.
tValueKind convert_cell(const char* text, std::size_t length, double& value, std::string& copy) {
  const char* stop = plain_decimal_prefix(text, value);
  if (stop == text + length) return tValueKind::number;
  copy.assign(text, length);
  copy.append(16, '\0');
  return cell_value(copy.c_str(), length, value);
}

// Converts one line [begin, end) (no line feed, no CR) into the next row; false at a fault.
// Runs of plain decimals go through convert_tokens (a number ends at white space, and in a plain
// line that is its cell's end), every other cell through convert_cell.
bool convert_line(const char* text, std::size_t begin, std::size_t end, const tTableShape& shape,
                  tConvertTokens convert_tokens, long long line, tTablePiece& piece,
                  std::vector<std::size_t>& starts, std::string& copy) {
  const bool plain = split_line(text, begin, end, shape.delimiter, starts);
  const std::size_t fields = starts.size();
  starts.push_back(end + 1);
  piece.fault_line = line;
  if (fields != shape.leading + shape.columns) {
    piece.fault = true;
    piece.fault_fields = fields;
    return false;
  }
  const std::size_t row = piece.rows;
  double* values = piece.values.get() + row * shape.columns;
  unsigned char* kinds = piece.kinds.get() + row * shape.columns;
  unsigned char unusual = 0;
  for (std::size_t j = 0; j < shape.columns; ++j) {
    if (plain) {
      const std::size_t n = convert_tokens(text, text + end, starts.data() + shape.leading + j,
                                           shape.columns - j, values + j);
      std::memset(kinds + j, static_cast<unsigned char>(tValueKind::number), n);
      j += n;
      if (j == shape.columns) break;
    }
    const std::size_t f = shape.leading + j;
    const std::size_t length = starts[f + 1] - 1 - starts[f];
    const tValueKind kind = convert_cell(text + starts[f], length, values[j], copy);
    if (kind == tValueKind::not_number) {
      piece.fault = true;
      piece.fault_in_cell = true;
      piece.fault_column = j;
      piece.fault_cell.assign(text + starts[f], length);
      return false;
    }
    kinds[j] = static_cast<unsigned char>(kind);
    unusual |= kind != tValueKind::number;
  }
  piece.unusual[row] = unusual;
  piece.names[row].assign(text + starts[0], starts[1] - 1 - starts[0]);
  piece.lines[row] = line;
  ++piece.rows;
  return true;
}

void convert_piece(const char* text, std::size_t begin, std::size_t end, const tTableShape& shape,
                   tTablePiece& piece) {
  // A value takes at least one byte and its delimiter or line feed.
  const std::size_t most = (end - begin) / 2 + 1;
  if (piece.capacity < most) {
    piece.values = large_block<double>(most, false);
    piece.kinds = large_block<unsigned char>(most, false);
    piece.capacity = most;
  }
  piece.rows = 0;
  piece.line_feeds = 0;
  piece.fault = false;
  piece.fault_in_cell = false;
  std::vector<std::size_t> starts;
  std::string copy;
  const tConvertTokens convert_tokens = token_converter();
  for (std::size_t at = begin; at < end;) {
    const void* found = std::memchr(text + at, '\n', end - at);
    const std::size_t stop =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - text) : end;
    std::size_t line_end = stop;
    if (line_end > at && text[line_end - 1] == '\r') --line_end;
    const long long line = piece.line_feeds;
    if (line_end > at) {
      // Room for one more row; the vectors are kept from block to block.
      if (piece.names.size() <= piece.rows) {
        const std::size_t rows = 2 * piece.rows + 16;
        piece.names.resize(rows);
        piece.lines.resize(rows);
        piece.unusual.resize(rows);
      }
      if (!convert_line(text, at, line_end, shape, convert_tokens, line, piece, starts, copy))
        return;
    }
    piece.line_feeds += found ? 1 : 0;
    at = found ? stop + 1 : end;
  }
}

}  // namespace

void convert_table_pieces(const char* text, std::size_t size, const tTableShape& shape,
                          std::size_t piece_bytes, std::vector<tTablePiece>& pieces) {
  std::vector<std::size_t> bounds{0};
  while (bounds.back() < size) {
    std::size_t end = std::min(size, bounds.back() + std::max<std::size_t>(piece_bytes, 1));
    while (end < size && text[end - 1] != '\n') ++end;
    bounds.push_back(end);
  }
  pieces.resize(bounds.size() - 1);
  parallel_for(static_cast<int>(pieces.size()),
               [&](int p) { convert_piece(text, bounds[p], bounds[p + 1], shape, pieces[p]); });
}
