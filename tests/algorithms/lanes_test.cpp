#include "algorithms/lanes.hpp"

#include <gtest/gtest.h>

#include <algorithm>

TEST(Lanes, AnAskedWidthGivesTheWidestTheProcessorHasUpToIt) {
  const int had = lane_width();
  const int widest = use_lane_width(64);
  ASSERT_TRUE(widest == 2 || widest == 4 || widest == 8) << widest;
  const int asked[][2] = {{1, 2}, {2, 2}, {3, 2}, {4, 4}, {7, 4}, {8, 8}, {64, 8}};
  for (const auto& [width, expected] : asked) {
    EXPECT_EQ(use_lane_width(width), std::min(expected, widest)) << width;
    EXPECT_EQ(wide_lanes(), lane_width() >= 4) << width;
  }
  use_lane_width(had);
}
