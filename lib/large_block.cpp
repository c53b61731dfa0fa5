// Huge-page advice for large blocks: aligned to a huge page so that whole pages can be used.
#include "lib/large_block.hpp"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;

}  // namespace

void* allocate_large(std::size_t bytes, bool zeroed) {
  // From half a huge page up: a block of 256 rows of 1,000 doubles falls just short of one.
  const bool huge = bytes >= huge_page / 2;
  const std::size_t alignment = huge ? huge_page : 64;
  const std::size_t rounded = (bytes + alignment - 1) / alignment * alignment;
  void* p = rounded >= bytes ? std::aligned_alloc(alignment, rounded) : nullptr;
  if (p == nullptr) throw std::bad_alloc();  // as new would
#if defined(MADV_HUGEPAGE)
  // Advice only: where huge pages are off, the block works all the same.
  if (huge) madvise(p, rounded, MADV_HUGEPAGE);
#endif
  if (zeroed) std::memset(p, 0, rounded);
  return p;
}
