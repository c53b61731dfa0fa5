// Pieces end after line feeds, so each converts its lines without looking at the others. The
// text is only read: a cell that the fast conversion leaves is copied, NUL-terminated, first.
#include "cluster/input/table_pieces.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cluster/input/plain_decimal.hpp"
#include "cluster/input/white_space.hpp"
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

// The fields of the line [begin, end) with quotes undone, cut as the field scanner cuts them.
void split_fields(const char* text, std::size_t begin, std::size_t end, const tTableShape& shape,
                  std::vector<std::string>& fields) {
  fields.clear();
  const bool runs = shape.delimiter == ' ';
  const auto delimits = [&](char c) { return c == shape.delimiter || (runs && c == '\t'); };
  const auto skip = [&](std::size_t at) {
    while (runs && at < end && delimits(text[at])) ++at;
    return at;
  };
  std::size_t at = skip(begin);
  if (at == end) return;
  for (;;) {
    std::string field;
    bool in_quotes = false;
    for (; at < end; ++at) {
      const char c = text[at];
      if (shape.quoted && c == '"') {
        if (in_quotes && at + 1 < end && text[at + 1] == '"')
          field += text[++at];
        else
          in_quotes = !in_quotes;
      } else if (!in_quotes && delimits(c)) {
        break;
      } else {
        field += c;
      }
    }
    fields.push_back(std::move(field));
    if (at == end) return;
    at = skip(at + 1);
    if (runs && at == end) return;
  }
}

// The line [begin, end) that the fast path cannot cut: quotes, blank runs or decimal commas.
bool convert_other_line(const char* text, std::size_t begin, std::size_t end,
                        const tTableShape& shape, long long line, tTablePiece& piece,
                        std::vector<std::string>& fields, std::string& copy) {
  split_fields(text, begin, end, shape, fields);
  piece.fault_line = line;
  if (fields.empty()) return true;
  if (fields.size() != shape.leading + shape.columns) {
    piece.fault = true;
    piece.fault_fields = fields.size();
    return false;
  }
  const std::size_t row = piece.rows;
  double* values = piece.values.get() + row * shape.columns;
  unsigned char* kinds = piece.kinds.get() + row * shape.columns;
  unsigned char unusual = 0;
  std::string padded;  // conversion reads 16 bytes past a cell's end: a field holds none
  for (std::size_t j = 0; j < shape.columns; ++j) {
    const std::string& cell = fields[shape.leading + j];
    padded.assign(cell);
    padded.append(16, '\0');
    const tValueKind kind = shaped_cell_value(shape, padded.c_str(), cell.size(), values[j], copy);
    if (kind == tValueKind::not_number) {
      piece.fault = true;
      piece.fault_in_cell = true;
      piece.fault_column = j;
      piece.fault_cell = cell;
      return false;
    }
    kinds[j] = static_cast<unsigned char>(kind);
    unusual |= kind != tValueKind::number;
  }
  if (shape.weight_field > 0) {
    const std::string& weight = fields[shape.weight_field];
    piece.odd_weights += !unit_weight(shape, weight.c_str(), weight.size(), copy);
  }
  piece.unusual[row] = unusual;
  piece.names[row] = fields[0];
  piece.lines[row] = line;
  ++piece.rows;
  return true;
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
  if (shape.weight_field > 0) {
    const std::size_t w = shape.weight_field;
    piece.odd_weights += !unit_weight(shape, text + starts[w], starts[w + 1] - 1 - starts[w], copy);
  }
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
  piece.odd_weights = 0;
  std::vector<std::size_t> starts;
  std::vector<std::string> fields;
  std::string copy;
  const tConvertTokens convert_tokens = token_converter();
  const bool all_other = shape.delimiter == ' ' || shape.decimal_comma;
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
      const bool other =
          all_other || (shape.quoted && std::memchr(text + at, '"', line_end - at) != nullptr);
      if (other
              ? !convert_other_line(text, at, line_end, shape, line, piece, fields, copy)
              : !convert_line(text, at, line_end, shape, convert_tokens, line, piece, starts, copy))
        return;
    }
    piece.line_feeds += found ? 1 : 0;
    at = found ? stop + 1 : end;
  }
}

}  // namespace

tValueKind shaped_cell_value(const tTableShape& shape, const char* text, std::size_t length,
                             double& value, std::string& copy) {
  if (!shape.decimal_comma || std::memchr(text, ',', length) == nullptr)
    return cell_value(text, length, value);
  copy.assign(text, length);
  std::replace(copy.begin(), copy.end(), ',', '.');
  copy.append(16, '\0');
  return cell_value(copy.c_str(), length, value);
}

bool unit_weight(const tTableShape& shape, const char* text, std::size_t length,
                 std::string& copy) {
  std::string padded(text, length);
  padded.append(16, '\0');
  double weight = 0;
  return shaped_cell_value(shape, padded.c_str(), length, weight, copy) == tValueKind::number &&
         weight == 1.0;
}

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
