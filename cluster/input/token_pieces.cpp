// Pieces end at white space, so each is tokenised and converted without looking at the others.
#include "cluster/input/token_pieces.hpp"

#include <algorithm>
#include <cstdint>

#include "cluster/input/plain_decimal.hpp"
#include "cluster/input/white_space.hpp"
#include "lib/parallel.hpp"

namespace {

// A token takes at least one byte and the white space after it.
void index_starts(const char* text, std::size_t begin, std::size_t end, tTokenPiece& piece) {
  const std::size_t most = (end - begin) / 2 + 1;
  if (piece.capacity < most) {
    piece.starts = large_block<std::size_t>(most, false);
    piece.values = large_block<double>(most, false);
    piece.capacity = most;
  }
  std::size_t* const starts = piece.starts.get();
  std::size_t count = 0;
  std::uint64_t space_before = 1;  // a piece starts at white space or at a token's start
  for (std::size_t base = begin; base < end; base += 64) {
    std::uint64_t space = space_mask(text + base);
    if (end - base < 64) space |= ~0ULL << (end - base);
    std::uint64_t first = ~space & ((space << 1) | space_before);
    space_before = space >> 63;
    for (; first != 0; first &= first - 1) starts[count++] = base + __builtin_ctzll(first);
  }
  piece.count = count;
}

// Plain decimals the fast way; every other token as matrix_token_value reads it.
void convert_piece(const char* text, std::size_t size, tTokenPiece& piece) {
  const std::size_t n = piece.count;
  piece.unusual.clear();
  piece.kinds.clear();
  const tConvertTokens convert_tokens = token_converter();
  for (std::size_t j = 0; j < n; ++j) {
    j += convert_tokens(text, text + size, piece.starts.get() + j, n - j, piece.values.get() + j);
    if (j == n) break;
    const std::size_t start = piece.starts[j];
    std::size_t stop = start;
    while (stop < size && !is_space(text[stop])) ++stop;
    const std::string token(text + start, stop - start);  // NULs within end it as a string
    const tValueKind kind = matrix_token_value(token.c_str(), piece.values[j]);
    if (kind == tValueKind::number) continue;
    piece.unusual.push_back(j);
    piece.kinds.push_back(kind);
  }
}

}  // namespace

void convert_pieces(const char* text, std::size_t size, std::size_t from, std::size_t piece_bytes,
                    std::vector<tTokenPiece>& pieces) {
  std::vector<std::size_t> bounds{from};
  while (bounds.back() < size) {
    std::size_t end = std::min(size, bounds.back() + std::max<std::size_t>(piece_bytes, 1));
    while (end < size && !is_space(text[end])) ++end;
    bounds.push_back(end);
  }
  pieces.resize(bounds.size() - 1);
  parallel_for(static_cast<int>(pieces.size()), [&](int p) {
    index_starts(text, bounds[p], bounds[p + 1], pieces[p]);
    convert_piece(text, size, pieces[p]);
  });
}

std::string token_text(const char* text, std::size_t start, std::size_t end) {
  std::size_t stop = start;
  while (stop < end && text[stop] != '\0' && !is_space(text[stop])) ++stop;
  return std::string(text + start, stop - start);
}
