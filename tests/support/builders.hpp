// Literal builders for the tests: vectors, matrices and taxa sets written as brace lists.
#pragma once

#include <cassert>
#include <cstddef>
#include <initializer_list>

#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// make_vector({1, 2}): the entries in order.
inline vector make_vector(std::initializer_list<double> entries) {
  vector v(static_cast<int>(entries.size()));
  int i = 0;
  for (double x : entries) v[i++] = x;
  return v;
}

// make_matrix({{1, 2}, {3, 4}}): rows of equal length, filled entry by entry so that the builder
// does not lean on the row views the matrix tests examine. REQUIRES: at least one row.
inline matrix make_matrix(std::initializer_list<std::initializer_list<double>> rows) {
  const std::size_t cols = rows.begin()->size();
  matrix m(static_cast<int>(rows.size()), static_cast<int>(cols));
  int i = 0;
  for (const auto& r : rows) {
    assert(r.size() == cols);
    int j = 0;
    for (double x : r) m(i, j++) = x;
    ++i;
  }
  return m;
}

// make_set({0, 2}): a taxa set of the default capacity with the given members.
inline tTaxaSet make_set(std::initializer_list<int> members) {
  tTaxaSet s;
  for (int k : members) s.insert(k);
  return s;
}
