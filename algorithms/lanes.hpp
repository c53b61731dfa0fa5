// Vectors of doubles for the kernels, and the choice between two and four lanes per vector.
#pragma once

#include <cstring>

// Kernels are written once over the vector type V and compiled twice: with v4d in functions
// marked TOOLKIT_WIDE (AVX2, chosen at run time when an x86-64 processor has it) and with v2d in
// baseline functions (SSE2 on x86-64, NEON on 64-bit ARM). Lanes only hold separate sums side by
// side, so both give the same bits.
typedef double v2d __attribute__((vector_size(16)));
typedef double v4d __attribute__((vector_size(32)));

#if defined(__x86_64__)
#define TOOLKIT_WIDE __attribute__((target("avx2")))
#else
// Elsewhere the wide kernels are compiled for the baseline too; wide_lanes() never picks them.
#define TOOLKIT_WIDE
#endif
// Four-lane vectors never cross a call that is not inlined, so their calling convention (which
// differs with and without AVX) does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"
// Everything a kernel calls is inlined, so that it is compiled for the kernel's own target.
#define TOOLKIT_INLINE __attribute__((always_inline)) inline

template <class V>
constexpr int lanes = static_cast<int>(sizeof(V) / sizeof(double));

template <class V>
TOOLKIT_INLINE V load(const double* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class V>
TOOLKIT_INLINE void store(double* p, V v) {
  std::memcpy(p, &v, sizeof v);
}

// True when the kernels run with four lanes: the processor is x86-64 with AVX2 and
// use_wide_lanes(false) was not called.
bool wide_lanes();
// Four lanes where the processor has them (wide), or two; returns wide_lanes().
bool use_wide_lanes(bool wide);
