// Small builders and checks shared by the tree-library tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "lib/taxaset.hpp"
#include "tests/support/builders.hpp"
#include "treelib/tmatrix.hpp"
#include "treelib/tree.hpp"

// A root with one edge of each length to its own leaf.
inline tTree star(const std::vector<double>& lengths) {
  tTree T;
  const node root = T.new_node();
  for (double length : lengths) T.new_edge(root, T.new_node(), length);
  return T;
}

// A symmetric matrix from its upper triangle, row by row; the diagonal is 0.
inline tMatrix upper(int n, std::initializer_list<double> values) {
  tMatrix m(n, n);
  auto v = values.begin();
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      m(i, j) = *v;
      m(j, i) = *v;
      ++v;
    }
  }
  return m;
}

// Expects every diagonal entry 0.0 and every (i, j) equal to (j, i).
inline void expect_symmetric_zero_diagonal(const tMatrix& m) {
  for (int i = 0; i < m.dim1(); ++i) {
    EXPECT_EQ(m(i, i), 0.0) << i;
    for (int j = i + 1; j < m.dim1(); ++j) EXPECT_EQ(m(i, j), m(j, i)) << i << "," << j;
  }
}
