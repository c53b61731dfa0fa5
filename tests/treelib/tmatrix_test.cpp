// Tests of the distance matrix type.
#include "treelib/tmatrix.hpp"

#include <gtest/gtest.h>

TEST(TMatrix, AssignmentTakesTheSourceSize) {
  tMatrix source(3, 3);
  source(1, 2) = 0.25;
  tMatrix target(5, 5);
  target = source;
  EXPECT_EQ(target.dim1(), 3);
  EXPECT_EQ(target.dim2(), 3);
  EXPECT_EQ(target(1, 2), 0.25);
  target(1, 2) = 0.5;
  EXPECT_EQ(source(1, 2), 0.25);  // a deep copy
}
