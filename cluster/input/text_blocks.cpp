// Blocks are cut after their last white space; the rest is kept for the next block.
#include "cluster/input/text_blocks.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

#include "cluster/input/white_space.hpp"

namespace {

// Readable zeros after the text, for loads of 64 bytes and the decimal conversion's look ahead.
constexpr std::size_t padding = 64;

}  // namespace

tTextBlocks::tTextBlocks(std::istream& is, std::size_t block_size, bool lines,
                         const std::string& prefix)
    : is_(is), block_size_(block_size > 0 ? block_size : 1), lines_(lines) {
  reserve(prefix.size());
  if (!prefix.empty()) std::memcpy(buffer_.get(), prefix.data(), prefix.size());
  end_ = prefix.size();
}

bool tTextBlocks::next() {
  const std::size_t kept = end_ - size_;
  if (kept > 0 && size_ > 0) std::memmove(buffer_.get(), buffer_.get() + size_, kept);
  end_ = kept;
  size_ = 0;
  std::size_t scanned = 0;  // bytes known to hold no white space
  for (;;) {
    read_more();
    if (at_end_) {
      size_ = end_;
      return size_ > 0;
    }
    std::size_t last = end_;
    while (last > scanned && !(lines_ ? buffer_[last - 1] == '\n' : is_space(buffer_[last - 1])))
      --last;
    if (last > scanned) {
      size_ = last;
      return true;
    }
    scanned = end_;
  }
}

void tTextBlocks::reserve(std::size_t bytes) {
  if (capacity_ >= bytes + padding) return;
  const std::size_t capacity = 2 * end_ + bytes + padding;
  tLargeBlock<char> larger = large_block<char>(capacity, false);
  if (end_ > 0) std::memcpy(larger.get(), buffer_.get(), end_);
  buffer_ = std::move(larger);
  capacity_ = capacity;
}

void tTextBlocks::read_more() {
  if (at_end_) return;
  // Small inputs get small buffers: the reads grow from 64 KiB to a block.
  const std::size_t wanted = std::min(block_size_, next_read_);
  next_read_ = std::min(block_size_, 4 * next_read_);
  reserve(end_ + wanted);
  is_.read(buffer_.get() + end_, static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(is_.gcount());
  end_ += got;
  std::memset(buffer_.get() + end_, 0, padding);
  if (got < wanted) at_end_ = true;
}
