// The tests' one tolerant comparison, for values known only to a few digits or up to rounding.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

// Passes when actual is within tolerance of expected, relative to |expected| (absolute near 0).
inline ::testing::AssertionResult close_to(double actual, double expected, double tolerance) {
  const double scale = std::fabs(expected) > 1.0 ? std::fabs(expected) : 1.0;
  if (std::fabs(actual - expected) <= tolerance * scale) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " is not within " << tolerance << " of " << expected;
}
