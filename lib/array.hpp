// Bounds-checked array with an index range low .. high.
#pragma once

#include <string>
#include <vector>

#include "lib/container_error.hpp"

template <class E>
class array {
 public:
  array() = default;
  explicit array(int n) {
    if (n < 0) container_error(1, bad_bounds_message(n).c_str());
    elements_.resize(static_cast<std::size_t>(n));
  }

  E& operator[](int i) { return elements_[checked(i)]; }
  const E& operator[](int i) const { return elements_[checked(i)]; }

  int size() const { return static_cast<int>(elements_.size()); }
  int low() const { return 0; }
  int high() const { return size() - 1; }

  typename std::vector<E>::iterator begin() { return elements_.begin(); }
  typename std::vector<E>::iterator end() { return elements_.end(); }
  typename std::vector<E>::const_iterator begin() const { return elements_.begin(); }
  typename std::vector<E>::const_iterator end() const { return elements_.end(); }

 private:
  std::size_t checked(int i) const {
    if (i < 0 || i >= size()) container_error(2, "array::entry index out of range");
    return static_cast<std::size_t>(i);
  }
  static std::string bad_bounds_message(int n) {
    return "array: bad array bounds [0.." + std::to_string(n) + "]";
  }
  std::vector<E> elements_;
};
