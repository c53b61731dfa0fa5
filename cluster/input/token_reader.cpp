// Block-buffered tokenizer: tokens are cut or converted where they lie, so reading allocates
// nothing per token.
#include "cluster/input/token_reader.hpp"

#include <cstdint>
#include <cstring>
#include <istream>
#include <string>

#include "cluster/input/white_space.hpp"

namespace {

// Bytes readable beyond the NUL at the end of the text, for the loads of 64 bytes that start
// before it.
constexpr std::size_t padding = 64;

}  // namespace

tTokenReader::tTokenReader(std::istream& is, std::size_t block_size)
    : is_(is),
      block_size_(block_size > 0 ? block_size : 1),
      buffer_(2 * block_size_ + 1 + padding, '\0') {}

const char* tTokenReader::next() {
  std::size_t at = 0;
  return next_start(at) ? cut_at(at) : "";
}

bool tTokenReader::at_end() {
  return next_start_ == start_count_ && !index_more();
}

bool tTokenReader::next_start(std::size_t& at) {
  if (next_start_ == start_count_ && !index_more()) return false;
  at = starts_[next_start_++];
  return true;
}

bool tTokenReader::index_more() {
  if (at_end_ && indexed_end_ == end_) return false;
  std::size_t keep_from = indexed_end_;
  for (;;) {
    refill(keep_from);
    // Before the end of the input the last token may go on in the next block.
    std::size_t limit = end_;
    if (!at_end_)
      while (limit > 0 && !is_space(buffer_[limit - 1])) --limit;
    index_starts(limit);
    indexed_end_ = limit;
    if (start_count_ > 0) return true;
    if (at_end_) return false;
    keep_from = limit;
  }
}

void tTokenReader::index_starts(std::size_t limit) {
  if (starts_.size() < limit / 2 + 1) starts_.resize(limit / 2 + 1);
  std::size_t count = 0;
  std::uint64_t space_before = 1;  // a block starts at a token's start or at white space
  for (std::size_t base = 0; base < limit; base += 64) {
    std::uint64_t space = space_mask(buffer_.data() + base);
    if (limit - base < 64) space |= ~0ULL << (limit - base);
    std::uint64_t first = ~space & ((space << 1) | space_before);
    space_before = space >> 63;
    for (; first != 0; first &= first - 1) starts_[count++] = base + __builtin_ctzll(first);
  }
  start_count_ = count;
  next_start_ = 0;
}

// No white space of the indexed part is looked at again, so the NUL needs no undoing.
const char* tTokenReader::cut_at(std::size_t at) {
  std::size_t stop = at;
  while (stop < end_ && !is_space(buffer_[stop])) ++stop;
  buffer_[stop] = '\0';
  return buffer_.data() + at;
}

bool tTokenReader::refill(std::size_t keep_from) {
  const std::size_t kept = end_ - keep_from;
  if (kept > 0 && keep_from > 0) std::memmove(buffer_.data(), buffer_.data() + keep_from, kept);
  end_ = kept;
  buffer_[end_] = '\0';
  if (at_end_) return false;
  // Only a token longer than a block makes the buffer grow.
  if (buffer_.size() - 1 - padding - end_ < block_size_)
    buffer_.resize(end_ + 2 * block_size_ + 1 + padding, '\0');
  const std::size_t wanted = buffer_.size() - 1 - padding - end_;
  is_.read(buffer_.data() + end_, static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(is_.gcount());
  end_ += got;
  buffer_[end_] = '\0';
  if (got < wanted) at_end_ = true;
  return got > 0;
}

string token_excerpt(const char* token) {
  constexpr std::size_t longest = 40;
  const std::size_t length = std::strlen(token);
  // Binary garbage must not reach the terminal as control bytes: those are quoted as \xNN.
  std::string quoted;
  for (std::size_t i = 0; i < length && i < longest; ++i) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    if (c >= 0x20 && c < 0x7f) {
      quoted += static_cast<char>(c);
    } else {
      static const char hex[] = "0123456789abcdef";
      quoted += {'\\', 'x', hex[c >> 4], hex[c & 0xf]};
    }
  }
  if (length > longest) quoted += "...";
  return string(quoted.c_str());
}
