// Runs a check once with every vector width the kernels have on this processor.
#pragma once

#include <string>

#include "algorithms/lanes.hpp"

// check(label) with two lanes and, where the processor has them, with four (AVX2) and eight
// (AVX-512F); the run's own width is restored afterwards. label names the width for failure
// messages.
template <class Check>
void for_each_width(Check check) {
  const int had = lane_width();
  for (int width : {2, 4, 8}) {
    if (use_lane_width(width) != width) continue;
    check(std::to_string(width) + " lanes: ");
  }
  use_lane_width(had);
}
