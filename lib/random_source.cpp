// Additive lagged-Fibonacci random source, and the process-wide start-up work before main.
#include "lib/random_source.hpp"

#include <cfenv>
#include <ctime>

#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

std::atomic<int> random_source::count{0};

namespace {

// IEEE double precision, round-to-nearest, every floating-point exception masked, so that
// divisions by zero give infinities or not-a-number values instead of trapping. SSE code
// already works so; the x87 unit is set too, for anything that still uses it.
bool set_floating_point_mode() {
#if defined(__i386__) || defined(__x86_64__)
  fpu_control_t cw =
      (_FPU_DEFAULT & ~_FPU_EXTENDED & ~_FPU_RC_ZERO) | _FPU_DOUBLE | _FPU_RC_NEAREST;
  _FPU_SETCW(cw);
#endif
  std::fesetround(FE_TONEAREST);
  fedisableexcept(FE_ALL_EXCEPT);
  return true;
}

// Static initialisation runs in declaration order within this unit: the mode is set first.
const bool floating_point_mode_set = set_floating_point_mode();

std::uint32_t mask_of_precision(int p) {
  return p >= 1 && p <= 31 ? (1u << p) - 1 : 0xffffffffu;
}

}  // namespace

random_source rand_int;

random_source::random_source() {
  clock_seed();
}

random_source::random_source(int p) {
  precision_ = p;
  mask_ = mask_of_precision(p);
  clock_seed();
}

random_source::random_source(int low, int high) {
  clock_seed();
  set_range(low, high);
}

// The n-th clock-seeded source of the process gets n times the time, so sources built in the
// same second still differ.
void random_source::clock_seed() {
  const int n = ++count;
  std::uint32_t t = static_cast<std::uint32_t>(std::time(nullptr));
  set_seed(static_cast<int>(t * static_cast<std::uint32_t>(n)));
}

void random_source::set_seed(int s) {
  table_[0] = static_cast<std::uint32_t>(s);
  for (int i = 1; i < 31; i++) table_[i] = 1103515245u * table_[i - 1] + 12345u;
  rear_ = 0;
  front_ = 3;
  for (int i = 0; i < 10 * 31; i++) get_rand31();
}

void random_source::set_table(const std::uint32_t (&words)[31]) {
  for (int i = 0; i < 31; i++) table_[i] = words[i];
  table_[0] |= 1u;
  rear_ = 0;
  front_ = 3;
  for (int i = 0; i < 10 * 31; i++) get_rand31();
}

void random_source::set_range(int low, int high) {
  low_ = low;
  diff_ = high >= low ? static_cast<std::uint32_t>(static_cast<long long>(high) - low) : 0;
  precision_mode_ = false;
  mask_ = 0;
  while (mask_ < diff_) mask_ = (mask_ << 1) | 1;  // the smallest 2^k - 1 not below diff
}

int random_source::set_precision(int p) {
  int old = precision_;
  precision_ = p;
  mask_ = mask_of_precision(p);
  precision_mode_ = true;
  return old;
}

std::uint32_t random_source::get_rand31() {
  table_[front_] += table_[rear_];
  std::uint32_t r = table_[front_] >> 1;
  if (++front_ == end_) front_ = 0;
  if (++rear_ == end_) rear_ = 0;
  return r;
}

// The buffer holds 31 spare bits under a stop bit; it is empty when only the stop bit is left.
std::uint32_t random_source::get_rand32() {
  if (bit_buffer_ == 1) bit_buffer_ = get_rand31() | 0x80000000u;
  std::uint32_t r = get_rand31();
  if (bit_buffer_ & 1) r |= 0x80000000u;
  bit_buffer_ >>= 1;
  return r;
}

int random_source::operator()() {
  std::uint32_t r = get_rand31() & mask_;
  if (precision_mode_) return static_cast<int>(r);
  while (r > diff_) r = get_rand31() & mask_;  // rejection keeps [low, high] uniform
  return static_cast<int>(static_cast<std::uint32_t>(low_) + r);
}

int random_source::operator()(int p) {
  std::uint32_t r = get_rand31();
  if (p <= 0) return 0;
  if (p < 31) r >>= 31 - p;
  return static_cast<int>(r & mask_of_precision(p));
}

int random_source::operator()(int low, int high) {
  if (high < low) return 0;
  int saved_low = low_;
  std::uint32_t saved_diff = diff_;
  std::uint32_t saved_mask = mask_;
  bool saved_mode = precision_mode_;
  set_range(low, high);
  int r = (*this)();
  low_ = saved_low;
  diff_ = saved_diff;
  mask_ = saved_mask;
  precision_mode_ = saved_mode;
  return r;
}

random_source& random_source::operator>>(bool& x) {
  x = (get_rand31() >> 16) & 1;
  return *this;
}

random_source& random_source::operator>>(char& x) {
  x = static_cast<char>((*this)());
  return *this;
}

random_source& random_source::operator>>(unsigned char& x) {
  x = static_cast<unsigned char>((*this)());
  return *this;
}

random_source& random_source::operator>>(int& x) {
  x = (*this)();
  return *this;
}

random_source& random_source::operator>>(unsigned int& x) {
  x = static_cast<unsigned int>((*this)());
  return *this;
}

random_source& random_source::operator>>(long& x) {
  x = (*this)();
  return *this;
}

random_source& random_source::operator>>(unsigned long& x) {
  x = static_cast<unsigned long>((*this)());
  return *this;
}

// The product is exact in double; the one rounding is the conversion to float.
random_source& random_source::operator>>(float& x) {
  x = static_cast<float>(get_rand31() * (1.0 / 2147483648.0));
  return *this;
}

// Divided by 2^31 - 1, so that the largest draw gives exactly 1.0.
random_source& random_source::operator>>(double& x) {
  x = get_rand31() / 2147483647.0;
  return *this;
}
