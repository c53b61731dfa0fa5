// Matrices are addressed by int offsets and must fit in the machine's memory.
#include "cluster/input/matrix_fits.hpp"

#include <unistd.h>

#include <climits>

#include "lib/diagnostics.hpp"

namespace {

long long physical_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return LLONG_MAX;
  return static_cast<long long>(pages) * page_size;
}

}  // namespace

void require_matrix_fits(long long rows, long long cols) {
  const long long bytes_available = physical_memory_bytes();
  if (cols > INT_MAX || (rows > 0 && cols > INT_MAX / rows) ||
      rows * cols > bytes_available / static_cast<long long>(sizeof(double)))
    bye("A matrix of %lld x %lld values does not fit in memory", rows, cols);
}
