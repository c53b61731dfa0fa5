// Distinct splits numbered in the order they are first added, found by a hash of their words:
// one probe per split where an ordered dictionary needs a search of many comparisons.
#pragma once

#include <cstdint>
#include <vector>

class tSplitIndex {
 public:
  // REQUIRES: 0 < words. Every key is a row of this many words.
  explicit tSplitIndex(int words);

  // The number of key, added as the next number when absent.
  int add(const std::uint64_t* key);
  // The number of key, or -1 when absent.
  int find(const std::uint64_t* key) const;

  int size() const { return static_cast<int>(hashes_.size()); }
  int words() const { return words_; }
  const std::uint64_t* key(int i) const { return &keys_[static_cast<std::size_t>(i) * words_]; }

 private:
  std::uint64_t hash(const std::uint64_t* key) const;
  // The slot holding key, or the empty slot where it would go.
  std::size_t slot_of(const std::uint64_t* key, std::uint64_t h) const;
  void grow();

  int words_;
  std::vector<std::uint64_t> keys_;    // key i at words_ * i
  std::vector<std::uint64_t> hashes_;  // of key i, kept for growing
  std::vector<int> slots_;             // open addressing, linear probing; -1 empty
};
