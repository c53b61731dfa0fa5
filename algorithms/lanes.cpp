// The run-time choice of the kernels' vector width.
#include "algorithms/lanes.hpp"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "lib/diagnostics.hpp"

namespace {

// The widest width this processor runs.
int processor_width() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return 8;
  if (__builtin_cpu_supports("avx2")) return 4;
#endif
  return 2;
}

// The cap of TOOLKIT_LANES, 8 when it is not set.
int environment_cap() {
  const char* text = std::getenv("TOOLKIT_LANES");
  if (text == nullptr || *text == '\0') return 8;
  for (int width : {2, 4, 8})
    if (std::strcmp(text, std::to_string(width).c_str()) == 0) return width;
  warning("TOOLKIT_LANES=%s: the widths are 2, 4 and 8; the widest the processor has is used",
          text);
  return 8;
}

int capped(int width) {
  const int widest = processor_width();
  if (width >= 8 && widest >= 8) return 8;
  if (width >= 4 && widest >= 4) return 4;
  return 2;
}

int& chosen_width() {
  static int width = capped(environment_cap());
  return width;
}

}  // namespace

int lane_width() {
  return chosen_width();
}

int use_lane_width(int width) {
  chosen_width() = capped(width);
  return chosen_width();
}

bool wide_lanes() {
  return chosen_width() >= 4;
}
