// The run-time choice of the kernels' vector width.
#include "algorithms/lanes.hpp"

namespace {

bool processor_has_avx2() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

bool& wide_flag() {
  static bool wide = processor_has_avx2();
  return wide;
}

}  // namespace

bool wide_lanes() {
  return wide_flag();
}

bool use_wide_lanes(bool wide) {
  wide_flag() = wide && processor_has_avx2();
  return wide_flag();
}
