// The C locale's white space, shared by the tokenizer and the decimal conversion.
#pragma once

#include <cstdint>

// Blank, \t, \n, \v, \f and \r.
inline bool is_space(char c) {
  constexpr std::uint64_t spaces = (1ULL << ' ') | (0x1FULL << '\t');
  const unsigned u = static_cast<unsigned char>(c);
  return u <= ' ' && ((spaces >> u) & 1) != 0;
}
