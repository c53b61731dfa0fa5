// Sequence container: appends copies, iterates in insertion order.
#pragma once

#include <list>

template <class E>
class list {
 public:
  void append(const E& e) { elements_.push_back(e); }
  void clear() { elements_.clear(); }
  int length() const { return static_cast<int>(elements_.size()); }
  int size() const { return length(); }
  bool empty() const { return elements_.empty(); }
  const E& head() const { return elements_.front(); }  // REQUIRES: !empty()
  const E& tail() const { return elements_.back(); }   // REQUIRES: !empty()

  typename std::list<E>::iterator begin() { return elements_.begin(); }
  typename std::list<E>::iterator end() { return elements_.end(); }
  typename std::list<E>::const_iterator begin() const { return elements_.begin(); }
  typename std::list<E>::const_iterator end() const { return elements_.end(); }

 private:
  std::list<E> elements_;
};
