// Dictionary array: indexing an absent key creates its entry; iteration in ascending key order.
#pragma once

#include "lib/container_error.hpp"
#include "lib/dictionary.hpp"

template <class K, class I>
class d_array {
 public:
  bool defined(const K& k) const { return items_.defined(k); }

  I& operator[](const K& k) {  // stores a copy of k with I() when k is absent
    auto it = items_.lookup(k);
    if (!it) it = items_.insert(k, I());
    return dictionary<K, I>::inf(it);
  }
  const I& operator[](const K& k) const {  // REQUIRES: defined(k)
    auto it = items_.lookup(k);
    if (!it) container_error(1, "d_array: undefined key");
    return dictionary<K, I>::inf(it);
  }

  int size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Visits (key, information) pairs in ascending key order.
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  dictionary<K, I> items_;
};
