// Block-buffered tokenizer: tokens are cut where they lie, so reading allocates nothing per token.
#include "cluster/token_reader.hpp"

#include <cstring>
#include <iostream>

namespace {

// The C locale's white space.
inline bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

tTokenReader::tTokenReader(std::istream& is, std::size_t block_size)
    : is_(is),
      newline_ends_skipping_(&is == &std::cin),
      block_size_(block_size > 0 ? block_size : 1),
      buffer_(2 * block_size_ + 1) {}

const char* tTokenReader::next() {
  restore_held();
  for (;;) {
    if (pos_ == end_ && !refill(pos_)) return "";
    const char c = buffer_[pos_];
    if (!is_space(c)) break;
    ++pos_;
    if (c == '\n' && newline_ends_skipping_) break;
  }
  return cut_token();
}

const char* tTokenReader::next_word() {
  restore_held();
  for (;;) {
    if (pos_ == end_ && !refill(pos_)) return "";
    if (!is_space(buffer_[pos_])) break;
    ++pos_;
  }
  return cut_token();
}

const char* tTokenReader::cut_token() {
  std::size_t start = pos_;
  for (;;) {
    if (pos_ == end_) {
      const bool more = refill(start);
      start = 0;
      if (!more) break;
      continue;
    }
    if (is_space(buffer_[pos_])) break;
    ++pos_;
  }
  // The terminating white space stays in the stream: keep it aside under the NUL.
  holding_ = pos_ < end_;
  if (holding_) held_ = buffer_[pos_];
  buffer_[pos_] = '\0';  // the buffer keeps one byte beyond end_ for this
  return buffer_.data() + start;
}

bool tTokenReader::refill(std::size_t keep_from) {
  const std::size_t kept = end_ - keep_from;
  if (kept > 0 && keep_from > 0) std::memmove(buffer_.data(), buffer_.data() + keep_from, kept);
  pos_ -= keep_from;
  end_ = kept;
  if (at_end_) return false;
  // Only a token longer than a block makes the buffer grow.
  if (buffer_.size() - 1 - end_ < block_size_) buffer_.resize(end_ + 2 * block_size_ + 1);
  const std::size_t wanted = buffer_.size() - 1 - end_;
  is_.read(buffer_.data() + end_, static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(is_.gcount());
  end_ += got;
  if (got < wanted) at_end_ = true;
  return got > 0;
}

void tTokenReader::restore_held() {
  if (holding_) buffer_[pos_] = held_;
  holding_ = false;
}

bool parse_integer(const char* token, long long& value) {
  constexpr long long limit = 1000000000000000000LL;
  const char* p = token;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p == '\0') return false;
  long long magnitude = 0;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    magnitude = magnitude <= limit / 10 ? magnitude * 10 + (*p - '0') : limit;
  }
  if (magnitude > limit) magnitude = limit;
  value = negative ? -magnitude : magnitude;
  return true;
}
