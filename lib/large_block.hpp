// Memory for large arrays, on huge pages where the system allows: each first touch of a page
// then maps 2 MiB instead of 4 KiB, and on a virtual machine a page fault costs far more than
// writing the page.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

struct tFreeBlock {
  void operator()(void* p) const { std::free(p); }
};

// bytes of memory aligned to 64 bytes, all zero when zeroed; std::bad_alloc when there is none.
// Blocks of 1 MiB and more are rounded up to whole huge pages of 2 MiB and advised onto them.
void* allocate_large(std::size_t bytes, bool zeroed);

template <typename T>
using tLargeBlock = std::unique_ptr<T[], tFreeBlock>;

// count elements of a trivially constructible type (zeroed, or left as they are).
template <typename T>
tLargeBlock<T> large_block(std::size_t count, bool zeroed) {
  return tLargeBlock<T>(
      static_cast<T*>(count > 0 ? allocate_large(count * sizeof(T), zeroed) : nullptr));
}
