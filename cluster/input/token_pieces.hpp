// The value tokens of a block of text, converted in pieces side by side.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cluster/input/value_conversion.hpp"
#include "lib/large_block.hpp"

// The tokens of one piece of a block, in order.
struct tTokenPiece {
  std::size_t count = 0;  // tokens
  // Room for capacity tokens, never cleared: only the pages written cost a page fault.
  std::size_t capacity = 0;
  tLargeBlock<std::size_t> starts;   // [0, count): where each token starts in the block
  tLargeBlock<double> values;        // [0, count): as matrix_token_value gives them
  std::vector<std::size_t> unusual;  // the tokens (indices) that are no number
  std::vector<tValueKind> kinds;     // the kind of each of those
};

// Cuts text[from, size) at white space into pieces of about piece_bytes and converts every
// token of each piece (see matrix_token_value) on the run's threads. text is a block of
// tTextBlocks: it ends with white space or a NUL follows it, with 64 readable bytes after.
// pieces is resized to the pieces made; its vectors are reused from call to call.
void convert_pieces(const char* text, std::size_t size, std::size_t from, std::size_t piece_bytes,
                    std::vector<tTokenPiece>& pieces);

// The token at text + start as the string extraction reads it: up to white space, a NUL or end.
std::string token_text(const char* text, std::size_t start, std::size_t end);
