// Ordered set of unique elements, ordered by compare() of the element type.
#pragma once

#include <set>

#include "lib/dictionary.hpp"

template <class E>
class set {
  using set_type = std::set<E, compare_less<E>>;

 public:
  void insert(const E& e) { elements_.insert(e); }
  bool member(const E& e) const { return elements_.count(e) != 0; }
  void del(const E& e) { elements_.erase(e); }
  int size() const { return static_cast<int>(elements_.size()); }
  bool empty() const { return elements_.empty(); }
  void clear() { elements_.clear(); }

  // Iteration in ascending order.
  typename set_type::const_iterator begin() const { return elements_.begin(); }
  typename set_type::const_iterator end() const { return elements_.end(); }

 private:
  set_type elements_;
};
