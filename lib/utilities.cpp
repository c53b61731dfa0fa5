// Guarded allocation, rounding, tolerance comparisons and small integer helpers.
#include "lib/utilities.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lib/assertion.hpp"
#include "lib/diagnostics.hpp"

void* Malloc(unsigned size) {
  if (size == 0) return nullptr;
  void* p = std::malloc(size);
  if (!p) error("Malloc(%ld): out of memory", static_cast<long>(size));
  return p;
}

void* Realloc(void* p, unsigned size) {
  if (size == 0) return nullptr;
  void* q = std::realloc(p, size);
  if (!q) {
    error("Realloc(%ld,%ld): out of memory", static_cast<long>(reinterpret_cast<std::intptr_t>(p)),
          static_cast<long>(size));
  }
  return q;
}

int double2int(double x) {
  return static_cast<int>(x >= 0 ? x + 0.5 : x - 0.5);
}

bool is_zero(double x, double eps) {
  return std::fabs(x) <= eps;
}
bool is_positive(double x, double eps) {
  return x > eps;
}
bool is_equal(double a, double b, double eps) {
  return std::fabs(a - b) <= eps;
}

int max(int a, int b) {
  return a > b ? a : b;
}
int min(int a, int b) {
  return a < b ? a : b;
}
int odd(int n) {
  return n % 2;
}

int first_neq(int a, int b, int c) {
  int n = 0;
  while (n == a || n == b || n == c) ++n;
  return n;
}

// k is the smallest free position, so the smallest one differing from i, j and k comes next.
int indices(int i, int j, int& k, int& l) {
  k = first_neq(i, j, i);
  l = first_neq(i, j, k);
  return l;
}

string stringoflength(int n) {
  TOOLKIT_ASSERT(n >= 0, "n>=0");
  return string(std::string(static_cast<std::size_t>(n), ' ').c_str());
}
