// Runs a check once with every vector width the kernels have on this processor.
#pragma once

#include <string>

#include "algorithms/lanes.hpp"

// check(label) with two lanes and, where the processor has AVX2, with four; the run's own width
// is restored afterwards. label names the width for failure messages.
template <class Check>
void for_each_width(Check check) {
  const bool had_wide = wide_lanes();
  for (bool wide : {false, true}) {
    if (use_wide_lanes(wide) != wide) continue;
    check(std::string(wide ? "four lanes: " : "two lanes: "));
  }
  use_wide_lanes(had_wide);
}
