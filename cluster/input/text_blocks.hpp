// A text stream in large blocks that end at white space (or at line ends), so that no token
// (or line) straddles two.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "lib/large_block.hpp"

class tTextBlocks {
 public:
  // block_size: the bytes asked of the stream at a time; a block grows only for a token (line)
  // longer than that. lines: blocks end at a line feed instead of any white space. prefix: text
  // that comes before the stream's.
  tTextBlocks(std::istream& is, std::size_t block_size, bool lines = false,
              const std::string& prefix = std::string());
  tTextBlocks(const tTextBlocks&) = delete;
  tTextBlocks& operator=(const tTextBlocks&) = delete;

  // Moves on to the next block; false when the input is exhausted.
  bool next();
  // The block's text [0, size()): it ends with white space (a line feed), or it is the last block
  // and a NUL follows it. At least 64 readable bytes follow the block in any case.
  const char* text() const { return buffer_.get(); }
  std::size_t size() const { return size_; }

 private:
  void reserve(std::size_t bytes);  // room for bytes of text and the zeros after them
  void read_more();                 // appends up to a block of text; notes the end of the input

  std::istream& is_;
  const std::size_t block_size_;
  const bool lines_;
  std::size_t next_read_ = std::size_t{1} << 16;
  tLargeBlock<char> buffer_;  // text in [0, end_), then zeros, in capacity_ bytes
  std::size_t capacity_ = 0;
  std::size_t end_ = 0;
  std::size_t size_ = 0;  // the current block: [0, size_)
  bool at_end_ = false;
};

// How the text is cut for reading side by side; the result never depends on it.
struct tTextSplit {
  std::size_t block_bytes = std::size_t{8} << 20;  // read from the stream at a time
  std::size_t piece_bytes = std::size_t{1} << 20;  // converted by one task
};
