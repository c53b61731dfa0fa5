// Block-buffered tokenizer: tokens are cut or converted where they lie, so reading allocates
// nothing per token.
#include "cluster/token_reader.hpp"

#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>

#include "algorithms/lanes.hpp"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Bytes readable beyond the NUL at the end of the text, for the loads of 64 bytes that start
// before it.
constexpr std::size_t padding = 64;
// A value token shorter than this is whole in the buffer before it is converted.
constexpr std::size_t longest_fast_token = 64;

// The C locale's white space: blank, \t, \n, \v, \f and \r.
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

// The conversion of this run: with byte shuffles when the kernels run four lanes (AVX2).
using tConvertTokens = std::size_t (*)(const char*, const char*, const std::size_t*, std::size_t,
                                       double*);

tConvertTokens token_converter() {
#if defined(__x86_64__)
  if (wide_lanes()) return wide_convert_tokens;
#endif
  return narrow_convert_tokens;
}

}  // namespace

tTokenReader::tTokenReader(std::istream& is, std::size_t block_size)
    : is_(is),
      newline_ends_skipping_(&is == &std::cin),
      block_size_(block_size > 0 ? block_size : 1),
      buffer_(2 * block_size_ + 1 + padding, '\0') {}

const char* tTokenReader::next() {
  if (newline_ends_skipping_) {
    restore_held();
    skip_space(true);
    return cut_token();
  }
  std::size_t at = 0;
  return next_start(at) ? cut_at(at) : "";
}

const char* tTokenReader::next_word() {
  if (newline_ends_skipping_) {
    restore_held();
    skip_space(false);
    return cut_token();
  }
  return next();
}

void tTokenReader::next_values(double* values, std::size_t count,
                               double (*convert)(const char*, long long&), long long& context) {
  std::size_t j = 0;
  if (newline_ends_skipping_) {
    for (const char* token = nullptr; j < count; ++j)
      if (!next_decimal(values[j], token)) values[j] = convert(token, context);
    return;
  }
  const tConvertTokens convert_tokens = token_converter();
  while (j < count) {
    if (next_start_ == start_count_ && !index_more()) break;
    // Every start is known: each token converts without waiting for the one before.
    const std::size_t known = start_count_ - next_start_;
    const std::size_t stop = count - j < known ? count : j + known;
    const char* const text = buffer_.data();
    const char* const text_end = at_end_ ? text + end_ : nullptr;  // the last token may end there
    const std::size_t done =
        convert_tokens(text, text_end, starts_.data() + next_start_, stop - j, values + j);
    j += done;
    next_start_ += done;
    if (j < stop) values[j++] = convert(cut_at(starts_[next_start_++]), context);
  }
  for (; j < count; ++j) values[j] = convert("", context);
}

bool tTokenReader::next_decimal(double& value, const char*& token) {
  restore_held();
  skip_space(true);
  if (end_ - pos_ < longest_fast_token && !at_end_) refill_from(pos_);
  const char* start = buffer_.data() + pos_;
  const char* stop = short_decimal(start, value);
  // The NUL at end_ ends a token only where the input ends.
  if (stop && (is_space(*stop) || (at_end_ && stop == buffer_.data() + end_))) {
    pos_ += static_cast<std::size_t>(stop - start);
    return true;
  }
  token = cut_token();
  return false;
}

bool tTokenReader::next_start(std::size_t& at) {
  if (next_start_ == start_count_ && !index_more()) return false;
  at = starts_[next_start_++];
  return true;
}

bool tTokenReader::index_more() {
  if (at_end_ && indexed_end_ == end_) return false;
  std::size_t keep_from = indexed_end_;
  for (;;) {
    refill(keep_from);
    // Before the end of the input the last token may go on in the next block.
    std::size_t limit = end_;
    if (!at_end_)
      while (limit > 0 && !is_space(buffer_[limit - 1])) --limit;
    index_starts(limit);
    indexed_end_ = limit;
    if (start_count_ > 0) return true;
    if (at_end_) return false;
    keep_from = limit;
  }
}

void tTokenReader::index_starts(std::size_t limit) {
  if (starts_.size() < limit / 2 + 1) starts_.resize(limit / 2 + 1);
  std::size_t count = 0;
  std::uint64_t space_before = 1;  // a block starts at a token's start or at white space
  for (std::size_t base = 0; base < limit; base += 64) {
    std::uint64_t space = space_mask(buffer_.data() + base);
    if (limit - base < 64) space |= ~0ULL << (limit - base);
    std::uint64_t first = ~space & ((space << 1) | space_before);
    space_before = space >> 63;
    for (; first != 0; first &= first - 1) starts_[count++] = base + __builtin_ctzll(first);
  }
  start_count_ = count;
  next_start_ = 0;
}

// No white space of the indexed part is looked at again, so the NUL needs no undoing.
const char* tTokenReader::cut_at(std::size_t at) {
  std::size_t stop = at;
  while (stop < end_ && !is_space(buffer_[stop])) ++stop;
  buffer_[stop] = '\0';
  return buffer_.data() + at;
}

void tTokenReader::skip_space(bool newline_ends) {
  for (;;) {
    if (pos_ == end_ && !refill_from(pos_)) return;
    const char c = buffer_[pos_];
    if (!is_space(c)) return;
    ++pos_;
    if (c == '\n' && newline_ends) return;
  }
}

const char* tTokenReader::cut_token() {
  std::size_t start = pos_;
  for (;;) {
    if (pos_ == end_) {
      const bool more = refill_from(start);
      start = 0;
      if (!more) break;
      continue;
    }
    if (is_space(buffer_[pos_])) break;
    ++pos_;
  }
  // The terminating white space stays in the stream: keep it aside under the NUL.
  holding_ = pos_ < end_;
  if (holding_) held_ = buffer_[pos_];
  buffer_[pos_] = '\0';  // at end_ the NUL is there already
  return buffer_.data() + start;
}

void tTokenReader::restore_held() {
  if (holding_) buffer_[pos_] = held_;
  holding_ = false;
}

bool tTokenReader::refill_from(std::size_t keep_from) {
  const bool more = refill(keep_from);
  pos_ -= keep_from;
  return more;
}

bool tTokenReader::refill(std::size_t keep_from) {
  const std::size_t kept = end_ - keep_from;
  if (kept > 0 && keep_from > 0) std::memmove(buffer_.data(), buffer_.data() + keep_from, kept);
  end_ = kept;
  buffer_[end_] = '\0';
  if (at_end_) return false;
  // Only a token longer than a block makes the buffer grow.
  if (buffer_.size() - 1 - padding - end_ < block_size_)
    buffer_.resize(end_ + 2 * block_size_ + 1 + padding, '\0');
  const std::size_t wanted = buffer_.size() - 1 - padding - end_;
  is_.read(buffer_.data() + end_, static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(is_.gcount());
  end_ += got;
  buffer_[end_] = '\0';
  if (got < wanted) at_end_ = true;
  return got > 0;
}

string token_excerpt(const char* token) {
  constexpr std::size_t longest = 40;
  const std::size_t length = std::strlen(token);
  // Binary garbage must not reach the terminal as control bytes: those are quoted as \xNN.
  std::string quoted;
  for (std::size_t i = 0; i < length && i < longest; ++i) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    if (c >= 0x20 && c < 0x7f) {
      quoted += static_cast<char>(c);
    } else {
      static const char hex[] = "0123456789abcdef";
      quoted += {'\\', 'x', hex[c >> 4], hex[c & 0xf]};
    }
  }
  if (length > longest) quoted += "...";
  return string(quoted.c_str());
}

bool parse_integer(const char* token, long long& value) {
  constexpr long long limit = saturated_integer;
  const char* p = token;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p == '\0') return false;
  long long magnitude = 0;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    magnitude = magnitude <= limit / 10 ? magnitude * 10 + (*p - '0') : limit;
  }
  if (magnitude > limit) magnitude = limit;
  value = negative ? -magnitude : magnitude;
  return true;
}

const char* plain_decimal_prefix(const char* text, double& value) {
  return short_decimal(text, value);
}
