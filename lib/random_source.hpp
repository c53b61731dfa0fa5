// Additive lagged-Fibonacci generator over 31 words, seeded by a linear congruence.
#pragma once

#include <atomic>
#include <cstdint>

class random_source {
 public:
  random_source();                   // clock seed; precision mode, 31 bits
  explicit random_source(int p);     // clock seed; precision mode, p bits
  random_source(int low, int high);  // clock seed; range mode over [low, high]

  void set_seed(int s);  // the same seed always restarts the same sequence
  // Restarts the sequence from the 31 table words as given, with bit 0 of words[0] set (an
  // all-even table would never give an odd word), then discards 310 draws as set_seed does.
  // Unlike set_seed, every bit of the table is free: set_seed fills it by a congruence whose
  // low bits depend only on the low bits of s, and so do the small-range draws that follow.
  void set_table(const std::uint32_t (&words)[31]);
  void set_range(int low, int high);
  int set_precision(int p);  // returns the previous precision

  std::uint32_t get_rand31();  // 0 .. 2^31 - 1
  std::uint32_t get_rand32();  // 32 random bits

  int operator()();                   // next value of the current mode
  int operator()(int p);              // top p bits of a fresh 31-bit draw
  int operator()(int low, int high);  // one value of [low, high]; mode unchanged; 0 if high < low

  random_source& operator>>(bool& x);  // bit 16 of a 31-bit draw
  random_source& operator>>(char& x);
  random_source& operator>>(unsigned char& x);
  random_source& operator>>(int& x);
  random_source& operator>>(unsigned int& x);
  random_source& operator>>(long& x);
  random_source& operator>>(unsigned long& x);
  random_source& operator>>(float& x);   // draw * 2^-31
  random_source& operator>>(double& x);  // draw / (2^31 - 1), in [0, 1]

  static std::atomic<int> count;  // sources seeded from the clock so far

 private:
  void clock_seed();

  // Cursors are indices, not pointers, so that copies of a source are independent sources.
  std::uint32_t table_[31];
  int rear_ = 0;   // the word that is added
  int front_ = 3;  // the word that is added to and returned
  int end_ = 31;   // cursors wrap from here to 0
  std::uint32_t mask_ = 0xffffffffu;
  int precision_ = 31;
  int low_ = 0;
  std::uint32_t diff_ = 0;
  bool precision_mode_ = true;
  std::uint32_t bit_buffer_ = 1;
};

// Process-wide source for library code, built (clock-seeded) before main.
extern random_source rand_int;
