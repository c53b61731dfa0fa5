// White-space separated tokens of a text stream, read in large blocks and cut in place.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

#include "lib/string.hpp"

class tTokenReader {
 public:
  // Every stream alike, standard input included: line breaks are white space like any other.
  explicit tTokenReader(std::istream& is, std::size_t block_size = 1 << 18);
  tTokenReader(const tTokenReader&) = delete;
  tTokenReader& operator=(const tTokenReader&) = delete;

  // The next token, as the string extraction reads it: NUL-terminated, valid until the next
  // call; the empty token at the end of the input.
  const char* next();
  bool at_end();  // no token is left (reads on to know)

 private:
  // Every token start of a block is found in one sweep, so that the tokens are then taken
  // independently of each other.
  bool next_start(std::size_t& at);
  bool index_more();  // reads on and indexes the whole tokens; false at the end of the input
  void index_starts(std::size_t limit);
  const char* cut_at(std::size_t at);
  // Moves [keep_from, end_) to the front and reads more after it; false when nothing came.
  bool refill(std::size_t keep_from);

  std::istream& is_;
  const std::size_t block_size_;  // bytes asked of the stream at a time
  std::vector<char> buffer_;      // text in [0, end_), a NUL at end_, then readable padding
  std::size_t end_ = 0;
  bool at_end_ = false;
  std::vector<std::size_t> starts_;  // token starts in [0, indexed_end_), in order
  std::size_t start_count_ = 0;
  std::size_t next_start_ = 0;
  std::size_t indexed_end_ = 0;  // whole tokens lie before; a token's start may lie after
};

// The token as a report quotes it: whole up to 40 bytes, else its first 40 bytes and "...";
// bytes that are not printable ASCII appear as \xNN.
string token_excerpt(const char* token);
