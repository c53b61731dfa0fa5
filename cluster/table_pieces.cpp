// Pieces end after line feeds, so each converts its lines without looking at the others. The
// text is only read: a cell that the fast conversion leaves is copied, NUL-terminated, first.
#include "cluster/table_pieces.hpp"

#include <algorithm>
#include <cstring>

#include "cluster/plain_decimal.hpp"
#include "lib/parallel.hpp"

namespace {

// The value of the cell text[0, length), exactly as cell_value gives it in place.
tValueKind convert_cell(const char* text, std::size_t length, double& value, std::string& copy) {
  const char* stop = plain_decimal_prefix(text, value);
  if (stop == text + length) return tValueKind::number;
  copy.assign(text, length);
  copy.append(16, '\0');
  return cell_value(copy.c_str(), length, value);
}

// Converts one line [begin, end) (no line feed, no CR) into the next row; false at a fault.
bool convert_line(const char* text, std::size_t begin, std::size_t end, const tTableShape& shape,
                  long long line, tTablePiece& piece, std::vector<std::size_t>& starts,
                  std::string& copy) {
  starts.clear();
  for (std::size_t at = begin;;) {
    starts.push_back(at);
    const void* found = std::memchr(text + at, shape.delimiter, end - at);
    if (!found) break;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - text) + 1;
  }
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
      if (!convert_line(text, at, line_end, shape, line, piece, starts, copy)) return;
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
