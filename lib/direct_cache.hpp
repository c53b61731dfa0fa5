// A cache of a pure function's results in a fixed table of slots, each holding the last key whose
// hash chose it: where many calls share few distinct keys, a call costs a hash and a compare.
#pragma once

#include <cstdint>
#include <vector>

// Key needs ==; the table takes 2^bits slots of Key and Value. A result is the same whether it
// came from the table or from make, so what a caller computes never depends on the history.
template <class Key, class Value, int bits>
class tDirectCache {
 public:
  tDirectCache() : slots_(std::size_t{1} << bits) {}

  // make(key)'s value, kept in the slot of hash (any well-mixed 64-bit hash of key).
  template <class Make>
  const Value& get(const Key& key, std::uint64_t hash, Make make) {
    tSlot& slot = slots_[hash >> (64 - bits)];
    if (!slot.filled || !(slot.key == key)) {
      slot.value = make(key);
      slot.key = key;
      slot.filled = true;
    }
    return slot.value;
  }

 private:
  struct tSlot {
    Key key{};
    Value value{};
    bool filled = false;
  };
  std::vector<tSlot> slots_;
};

// A multiplicative hash whose high bits, the ones a slot is chosen by, depend on every bit of x.
inline std::uint64_t mixed_hash(std::uint64_t x) {
  return (x ^ (x >> 31)) * 0x9E3779B97F4A7C15ull;
}
