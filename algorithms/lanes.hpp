// Vectors of doubles for the kernels, and the choice between two, four and eight lanes per vector.
#pragma once

#include <cstring>

// Kernels are written once over the vector type V and compiled three times: with v8d in functions
// marked TOOLKIT_WIDEST (AVX-512F), with v4d in functions marked TOOLKIT_WIDE (AVX2), each chosen
// at run time when an x86-64 processor has it, and with v2d in baseline functions (SSE2 on
// x86-64, NEON on 64-bit ARM). Lanes only hold separate sums side by side, so all give the same
// bits.
typedef double v2d __attribute__((vector_size(16)));
typedef double v4d __attribute__((vector_size(32)));
typedef double v8d __attribute__((vector_size(64)));

#if defined(__x86_64__)
#define TOOLKIT_WIDE __attribute__((target("avx2")))
#define TOOLKIT_WIDEST __attribute__((target("avx512f")))
#else
// Elsewhere the wide kernels are compiled for the baseline too; lane_width() never picks them.
#define TOOLKIT_WIDE
#define TOOLKIT_WIDEST
#endif
// Wide vectors never cross a call that is not inlined, so their calling convention (which
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

// The kernels' lanes per vector: 8 on x86-64 with AVX-512F, 4 with AVX2, else 2; capped by the
// environment variable TOOLKIT_LANES (2, 4 or 8) and by use_lane_width.
int lane_width();
// The widest width the processor has up to width (at least 2) from now on; returns lane_width().
int use_lane_width(int width);
// True when lane_width() is 4 or more (the four-lane kernels serve the wider widths too).
bool wide_lanes();
