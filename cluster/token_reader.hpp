// White-space separated tokens of a text stream, read in large blocks and cut in place.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

#include "lib/string.hpp"

class tTokenReader {
 public:
  // On the process's standard input a newline met while skipping white space ends the
  // skipping (so an empty line, or one starting with a blank, gives an empty token).
  explicit tTokenReader(std::istream& is, std::size_t block_size = 1 << 18);
  tTokenReader(const tTokenReader&) = delete;
  tTokenReader& operator=(const tTokenReader&) = delete;

  // The next token, as the string extraction reads it: NUL-terminated, valid until the next
  // call; the empty token at the end of the input.
  const char* next();
  // The next token after white space of any kind, as the integer extraction skips it.
  const char* next_word();
  // Fills values[0, count) from the next count tokens that next() would give: a plain decimal
  // (see plain_decimal_prefix) ending at white space or at the end of the input is converted
  // here, bit for bit as strtod; every other token goes to convert(token, context).
  void next_values(double* values, std::size_t count,
                   double (*convert)(const char* token, long long& context), long long& context);

 private:
  // Other streams: every token start of a block is found in one sweep, so that the tokens are
  // then taken independently of each other.
  bool next_start(std::size_t& at);
  bool index_more();  // reads on and indexes the whole tokens; false at the end of the input
  void index_starts(std::size_t limit);
  const char* cut_at(std::size_t at);
  // Standard input: white space is skipped and tokens are cut one after another.
  bool next_decimal(double& value, const char*& token);  // false: token is cut instead
  void skip_space(bool newline_ends);                    // leaves pos_ at the token's start
  const char* cut_token();
  void restore_held();
  bool refill_from(std::size_t keep_from);  // refill that keeps pos_ on its character
  // Moves [keep_from, end_) to the front and reads more after it; false when nothing came.
  bool refill(std::size_t keep_from);

  std::istream& is_;
  const bool newline_ends_skipping_;
  const std::size_t block_size_;  // bytes asked of the stream at a time
  std::vector<char> buffer_;      // text in [0, end_), a NUL at end_, then readable padding
  std::size_t end_ = 0;
  bool at_end_ = false;
  std::vector<std::size_t> starts_;  // token starts in [0, indexed_end_), in order
  std::size_t start_count_ = 0;
  std::size_t next_start_ = 0;
  std::size_t indexed_end_ = 0;  // whole tokens lie before; a token's start may lie after
  std::size_t pos_ = 0;
  char held_ = 0;  // the character under the last token's terminating NUL
  bool holding_ = false;
};

// The token as a report quotes it: whole up to 40 bytes, else its first 40 bytes and "...";
// bytes that are not printable ASCII appear as \xNN.
string token_excerpt(const char* token);
