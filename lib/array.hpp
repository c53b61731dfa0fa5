// Bounds-checked array with an index range low .. high.
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "lib/container_error.hpp"

// Element storage that reports exhaustion through the container error handler, not an exception.
template <class E>
struct array_allocator {
  using value_type = E;
  array_allocator() = default;
  template <class U>
  array_allocator(const array_allocator<U>&) {}  // NOLINT: rebinding must be implicit

  E* allocate(std::size_t n) {
    void* p = n > std::numeric_limits<std::size_t>::max() / sizeof(E)
                  ? nullptr
                  : ::operator new(n * sizeof(E), std::nothrow);
    if (!p) container_error(99, "array: out of memory");
    return static_cast<E*>(p);
  }
  void deallocate(E* p, std::size_t) { ::operator delete(p); }
};

template <class E, class U>
bool operator==(const array_allocator<E>&, const array_allocator<U>&) {
  return true;
}
template <class E, class U>
bool operator!=(const array_allocator<E>&, const array_allocator<U>&) {
  return false;
}

template <class E>
class array {
  using storage = std::vector<E, array_allocator<E>>;

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

  typename storage::iterator begin() { return elements_.begin(); }
  typename storage::iterator end() { return elements_.end(); }
  typename storage::const_iterator begin() const { return elements_.begin(); }
  typename storage::const_iterator end() const { return elements_.end(); }

 private:
  std::size_t checked(int i) const {
    if (i < 0 || i >= size()) container_error(2, "array::entry index out of range");
    return static_cast<std::size_t>(i);
  }
  static std::string bad_bounds_message(int n) {
    return "array: bad array bounds [0.." + std::to_string(n) + "]";
  }
  storage elements_;
};
