// The matrix text against printf's own "%.17g", over more distinct values than the writer keeps
// texts of, on any thread count.
#include "distcorr/phylip_matrix.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "lib/parallel.hpp"

namespace {

std::string printf_matrix(const std::vector<std::string>& names, const tMatrix& m) {
  std::string text = std::to_string(names.size()) + "\n";
  char cell[40];
  for (int i = 0; i < m.dim1(); ++i) {
    text += names[i];
    if (names[i].size() < 10) text.append(10 - names[i].size(), ' ');
    for (int j = 0; j < m.dim2(); ++j) {
      const double v = m(i, j);
      std::snprintf(cell, sizeof cell, " %.17g", v == 0 ? 0.0 : v);
      text += cell;
    }
    text += '\n';
  }
  return text;
}

TEST(PhylipMatrix, EveryCellAsPrintfWritesIt) {
  const int n = 300;  // 44,850 pairs: more distinct values than a thread's texts
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> unit(0, 1);
  tMatrix m(n, n);
  const double repeated[] = {-1.0, 0.1, 1e-300, 123456789012345678.0, 5e-324, 0.5};
  for (int i = 0; i < n; ++i) {
    m(i, i) = i % 2 ? -0.0 : 0.0;
    for (int j = i + 1; j < n; ++j) {
      const double v =
          random() % 3 ? unit(random) * std::pow(10.0, random() % 9 - 6.0) : repeated[random() % 6];
      m(i, j) = m(j, i) = v;
    }
  }
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i)
    names.push_back(i % 7 ? "s" + std::to_string(i) : "a_long_name_" + std::to_string(i));
  const std::string expected = printf_matrix(names, m);
  for (int threads : {1, 3}) {
    set_thread_count(threads);
    EXPECT_EQ(phylip_matrix(names, m), expected) << threads << " threads";
  }
  set_thread_count(0);
}

}  // namespace
