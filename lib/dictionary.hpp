// Ordered map with unique keys, ordered by compare() of the key type.
#pragma once

#include <map>

#include "lib/compare.hpp"

template <class K>
struct compare_less {
  bool operator()(const K& a, const K& b) const { return compare(a, b) < 0; }
};

template <class K, class I>
class dictionary {
  using map_type = std::map<K, I, compare_less<K>>;

 public:
  using item = typename map_type::value_type*;  // null when absent

  // Replaces the information of a present key; otherwise adds the item.
  item insert(const K& k, const I& i) {
    auto [it, added] = items_.insert_or_assign(k, i);
    (void)added;
    return &*it;
  }
  item lookup(const K& k) {
    auto it = items_.find(k);
    return it == items_.end() ? nullptr : &*it;
  }
  const typename map_type::value_type* lookup(const K& k) const {
    auto it = items_.find(k);
    return it == items_.end() ? nullptr : &*it;
  }
  bool defined(const K& k) const { return items_.count(k) != 0; }
  void del(const K& k) { items_.erase(k); }

  static const K& key(const typename map_type::value_type* it) { return it->first; }
  static I& inf(item it) { return it->second; }
  static const I& inf(const typename map_type::value_type* it) { return it->second; }

  int size() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }

  // Iteration in ascending key order over (key, information) pairs.
  typename map_type::iterator begin() { return items_.begin(); }
  typename map_type::iterator end() { return items_.end(); }
  typename map_type::const_iterator begin() const { return items_.begin(); }
  typename map_type::const_iterator end() const { return items_.end(); }

 private:
  map_type items_;
};
