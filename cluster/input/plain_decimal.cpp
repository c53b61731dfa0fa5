// Plain decimals converted eight or sixteen digits at a time, with one exact rounding.
#include "cluster/input/plain_decimal.hpp"

#include <cstdint>
#include <cstring>

#include "algorithms/lanes.hpp"
#include "cluster/input/white_space.hpp"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline std::uint64_t load8(const char* p) {
  std::uint64_t chunk;
  std::memcpy(&chunk, p, sizeof chunk);
  return chunk;
}

// How many of the eight bytes of chunk, first byte lowest, are decimal digits before the first
// other byte. A byte is a digit when both it and it plus 6 have the high nibble 3; a carry out
// of that addition starts only at a byte that is no digit, so it never hides the first one.
inline int leading_digits(std::uint64_t chunk) {
  constexpr std::uint64_t high = 0xF0F0F0F0F0F0F0F0ULL, threes = 0x3030303030303030ULL;
  const std::uint64_t other =
      ((chunk & high) ^ threes) | (((chunk + 0x0606060606060606ULL) & high) ^ threes);
  return other == 0 ? 8 : __builtin_ctzll(other) >> 3;
}

// The integer written by the first n (0 to 8) bytes of chunk, all digits: the digits move to the
// top, zeros before them (two shifts, so that n = 0 shifts everything out), and neighbouring
// digits, pairs and quads combine in place.
inline std::uint64_t digits_value(std::uint64_t chunk, int n) {
  const int half_shift = 32 - 4 * n;
  std::uint64_t d = ((chunk - 0x3030303030303030ULL) << half_shift) << half_shift;
  d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFULL;
  d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFULL;
  return (d * 10000 + (d >> 32)) & 0xFFFFFFFFULL;
}

const std::uint64_t powers_of_ten_int[] = {1,
                                           10,
                                           100,
                                           1000,
                                           10000,
                                           100000,
                                           1000000,
                                           10000000,
                                           100000000,
                                           1000000000,
                                           10000000000,
                                           100000000000,
                                           1000000000000,
                                           10000000000000,
                                           100000000000000,
                                           1000000000000000,
                                           10000000000000000};

// Appends the run of digits at p to mantissa, eight at a time; false past 19 digits in all.
bool add_digits(const char*& p, std::uint64_t& mantissa, int& digits, int& count) {
  for (count = 0;;) {
    const std::uint64_t chunk = load8(p);
    const int n = leading_digits(chunk);
    if (n == 0) return true;
    if (digits + n > 19) return false;
    mantissa = mantissa * powers_of_ten_int[n] + digits_value(chunk, n);
    digits += n;
    count += n;
    p += n;
    if (n < 8) return true;
  }
}

// The optional exponent at p and the single rounding of mantissa times ten to the scale.
TOOLKIT_INLINE const char* finish_decimal(const char* p, bool negative, std::uint64_t mantissa,
                                          int scale, double& value) {
  static const double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr std::uint64_t exact_limit = 1ULL << 53;
  if (mantissa > exact_limit) return nullptr;
  if ((*p | 0x20) == 'e') {
    ++p;
    const bool negative_exponent = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int exponent = 0;
    int exponent_digits = 0;
    for (; *p >= '0' && *p <= '9' && exponent_digits < 4; ++p, ++exponent_digits)
      exponent = exponent * 10 + (*p - '0');
    if (exponent_digits == 0) return nullptr;
    scale += negative_exponent ? -exponent : exponent;
  }
  if (scale < -22 || scale > 22) return nullptr;
  const double m = static_cast<double>(mantissa);
  const double magnitude = scale >= 0 ? m * powers_of_ten[scale] : m / powers_of_ten[-scale];
  // The sign goes on as a bit: signs come in no order a branch could learn.
  std::uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  bits |= static_cast<std::uint64_t>(negative) << 63;
  std::memcpy(&value, &bits, sizeof value);
  return p;
}

// Digits of any length, eight at a time.
const char* general_decimal(const char* p, double& value) {
  const bool negative = *p == '-';
  p += *p == '-' || *p == '+';
  std::uint64_t mantissa = 0;
  int digits = 0, count = 0, scale = 0;
  if (!add_digits(p, mantissa, digits, count)) return nullptr;
  if (*p == '.') {
    ++p;
    if (!add_digits(p, mantissa, digits, count)) return nullptr;
    scale = -count;
  }
  if (digits == 0) return nullptr;
  return finish_decimal(p, negative, mantissa, scale, value);
}

// The usual number, at most 8 digits before the point and 15 digits in all, found in one
// sixteen-byte look without a branch on the digit counts; longer ones go the general way.
TOOLKIT_INLINE const char* short_decimal(const char* text, double& value) {
#if defined(__SSE2__)
  const char* p = text;
  const bool negative = *p == '-';
  p += *p == '-' || *p == '+';
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i from_zero = _mm_sub_epi8(x, _mm_set1_epi8('0'));
  const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(from_zero, _mm_set1_epi8(9)), from_zero);
  // Bits 16 and up stand for the bytes beyond the look: never digits.
  const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(digit));
  const unsigned points =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8('.'))));
  const int whole = __builtin_ctz(other);
  const unsigned point = (points >> whole) & 1;
  const int end = __builtin_ctz(other & ~(point << whole));
  if (end >= 16 || whole > 8) return general_decimal(text, value);
  const int count = end - static_cast<int>(point);
  if (count == 0) return nullptr;
  // The digits without the point: the first eight, then the next ones.
  const std::uint64_t before = point && whole < 8 ? (1ULL << (8 * whole)) - 1 : ~0ULL;
  const std::uint64_t first = (load8(p) & before) | (load8(p + 1) & ~before);
  std::uint64_t mantissa = digits_value(first, count < 8 ? count : 8);
  if (count > 8)
    mantissa =
        mantissa * powers_of_ten_int[count - 8] + digits_value(load8(p + 8 + point), count - 8);
  return finish_decimal(p + end, negative, mantissa, whole - count, value);
#else
  return general_decimal(text, value);
#endif
}

#if defined(__x86_64__)
// The vector constants of wide_short_decimal, made once per run of tokens.
struct tWideConstants {
  __m128i zeros, nines, points, byte_index, tens, hundreds, ten_thousands;
};

TOOLKIT_WIDE TOOLKIT_INLINE tWideConstants wide_constants() {
  return {_mm_set1_epi8('0'),
          _mm_set1_epi8(9),
          _mm_set1_epi8('.'),
          _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
          _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1),
          _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1),
          _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1)};
}

// The same numbers as short_decimal, up to 15 digits whatever the point's place, with byte
// shuffles (SSSE3 and up): the digits without the point are moved to the end of a register,
// zeros before them, and combined in pairs, fours and eights by multiply-adds.
TOOLKIT_WIDE TOOLKIT_INLINE const char* wide_short_decimal(const char* text, double& value,
                                                           const tWideConstants& k) {
  const char* p = text;
  const bool negative = *p == '-';
  p += *p == '-' || *p == '+';
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i digits = _mm_sub_epi8(x, k.zeros);
  const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(digits, k.nines), digits);
  const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(digit));
  const unsigned points = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, k.points)));
  const int whole = __builtin_ctz(other);
  const unsigned point = (points >> whole) & 1;
  const int end = __builtin_ctz(other & ~(point << whole));
  if (end >= 16) return general_decimal(text, value);
  const int count = end - static_cast<int>(point);
  if (count == 0) return nullptr;
  // Byte j takes digit j - (16 - count), one further on past the point; a negative index (its
  // top bit set) gives a zero.
  __m128i index = _mm_sub_epi8(k.byte_index, _mm_set1_epi8(static_cast<char>(16 - count)));
  const __m128i past_point = _mm_cmpgt_epi8(index, _mm_set1_epi8(static_cast<char>(whole - 1)));
  index = _mm_sub_epi8(index, _mm_and_si128(past_point, _mm_set1_epi8(-static_cast<char>(point))));
  const __m128i aligned = _mm_shuffle_epi8(digits, index);
  const __m128i pairs = _mm_maddubs_epi16(aligned, k.tens);
  const __m128i fours = _mm_madd_epi16(pairs, k.hundreds);
  const __m128i eights = _mm_madd_epi16(_mm_packus_epi32(fours, fours), k.ten_thousands);
  const std::uint64_t halves = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));
  const std::uint64_t mantissa = (halves & 0xFFFFFFFFULL) * 100000000ULL + (halves >> 32);
  return finish_decimal(p + end, negative, mantissa, whole - count, value);
}
#endif

// The tokens at text + starts[0 .. n) converted into values while each is a plain decimal ending
// at white space or at text_end; returns how many. Every token is converted on its own. (One
// loop per target: a four-lane parse can only be inlined into a function of its own target.)
#if defined(__x86_64__)
TOOLKIT_WIDE std::size_t wide_convert_tokens(const char* text, const char* text_end,
                                             const std::size_t* starts, std::size_t n,
                                             double* values) {
  const tWideConstants constants = wide_constants();
  for (std::size_t j = 0; j < n; ++j) {
    const char* after = wide_short_decimal(text + starts[j], values[j], constants);
    if (!after || !(is_space(*after) || after == text_end)) return j;
  }
  return n;
}
#endif

std::size_t narrow_convert_tokens(const char* text, const char* text_end, const std::size_t* starts,
                                  std::size_t n, double* values) {
  for (std::size_t j = 0; j < n; ++j) {
    const char* after = short_decimal(text + starts[j], values[j]);
    if (!after || !(is_space(*after) || after == text_end)) return j;
  }
  return n;
}

}  // namespace

tConvertTokens token_converter() {
#if defined(__x86_64__)
  if (wide_lanes()) return wide_convert_tokens;
#endif
  return narrow_convert_tokens;
}

const char* plain_decimal_prefix(const char* text, double& value) {
  return short_decimal(text, value);
}
