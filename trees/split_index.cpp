// Open addressing over a flat block of keys.
#include "trees/split_index.hpp"

#include <cstring>

namespace {

std::uint64_t mix(std::uint64_t x) {  // splitmix64's finaliser: every input bit moves every bit
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ull;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

}  // namespace

tSplitIndex::tSplitIndex(int words) : words_(words), slots_(64, -1) {}

std::uint64_t tSplitIndex::hash(const std::uint64_t* key) const {
  std::uint64_t h = 0x9e3779b97f4a7c15ull;
  for (int w = 0; w < words_; ++w) h = mix(h ^ key[w]);
  return h;
}

std::size_t tSplitIndex::slot_of(const std::uint64_t* key, std::uint64_t h) const {
  const std::size_t mask = slots_.size() - 1;
  const std::size_t bytes = sizeof(std::uint64_t) * static_cast<std::size_t>(words_);
  for (std::size_t s = h & mask;; s = (s + 1) & mask) {
    const int i = slots_[s];
    if (i < 0 || (hashes_[i] == h && std::memcmp(this->key(i), key, bytes) == 0)) return s;
  }
}

int tSplitIndex::add(const std::uint64_t* key) {
  const std::uint64_t h = hash(key);
  std::size_t s = slot_of(key, h);
  if (slots_[s] >= 0) return slots_[s];
  // At most half the slots full keeps the probe sequences short.
  if (2 * (hashes_.size() + 1) > slots_.size()) {
    grow();
    s = slot_of(key, h);
  }
  const int i = size();
  slots_[s] = i;
  hashes_.push_back(h);
  keys_.insert(keys_.end(), key, key + words_);
  return i;
}

int tSplitIndex::find(const std::uint64_t* key) const {
  return slots_[slot_of(key, hash(key))];
}

void tSplitIndex::grow() {
  slots_.assign(2 * slots_.size(), -1);
  const std::size_t mask = slots_.size() - 1;
  for (int i = 0; i < size(); ++i) {
    std::size_t s = hashes_[i] & mask;
    while (slots_[s] >= 0) s = (s + 1) & mask;
    slots_[s] = i;
  }
}
