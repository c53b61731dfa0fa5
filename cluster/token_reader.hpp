// White-space separated tokens of a text stream, read in large blocks and cut in place.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

class tTokenReader {
 public:
  // On the process's standard input a newline met while skipping white space ends the
  // skipping (so an empty line, or one starting with a blank, gives an empty token).
  explicit tTokenReader(std::istream& is, std::size_t block_size = 1 << 20);
  tTokenReader(const tTokenReader&) = delete;
  tTokenReader& operator=(const tTokenReader&) = delete;

  // The next token, as the string extraction reads it: NUL-terminated, valid until the next
  // call; the empty token at the end of the input.
  const char* next();
  // The next token after white space of any kind, as the integer extraction skips it.
  const char* next_word();

 private:
  const char* cut_token();
  bool refill(std::size_t keep_from);  // moves [keep_from, end) to the front, reads more
  void restore_held();

  std::istream& is_;
  const bool newline_ends_skipping_;
  const std::size_t block_size_;  // bytes asked of the stream at a time
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  char held_ = 0;  // the character under the last token's terminating NUL
  bool holding_ = false;
  bool at_end_ = false;
};

// A whole token of an optional sign and decimal digits; value saturates at +-10^18.
bool parse_integer(const char* token, long long& value);
