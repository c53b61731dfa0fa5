// The C locale's white space, shared by the tokenizer and the decimal conversion.
#pragma once

#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

// Blank, \t, \n, \v, \f and \r.
inline bool is_space(char c) {
  constexpr std::uint64_t spaces = (1ULL << ' ') | (0x1FULL << '\t');
  const unsigned u = static_cast<unsigned char>(c);
  return u <= ' ' && ((spaces >> u) & 1) != 0;
}

// Bit i set where byte i of the 64 at p is white space.
inline std::uint64_t space_mask(const char* p) {
#if defined(__SSE2__)
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    const __m128i from_tab = _mm_sub_epi8(x, _mm_set1_epi8('\t'));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(from_tab, _mm_set1_epi8(4)), from_tab);
    const __m128i space = _mm_or_si128(control, _mm_cmpeq_epi8(x, _mm_set1_epi8(' ')));
    mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(space)) & 0xFFFFu)
            << (16 * part);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) mask |= static_cast<std::uint64_t>(is_space(p[i])) << i;
  return mask;
#endif
}
