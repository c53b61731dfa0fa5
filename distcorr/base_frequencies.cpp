// The frequencies of A, C, G and T over a whole alignment.
#include "distcorr/base_frequencies.hpp"

#include <cstdint>

tBaseFrequencies base_frequencies(const std::vector<std::string>& sequences) {
  std::array<long, 256> seen{};
  for (const std::string& s : sequences)
    for (char c : s) ++seen[static_cast<std::uint8_t>(c)];
  const long a = seen['A'] + seen['a'], c = seen['C'] + seen['c'], g = seen['G'] + seen['g'];
  const long t = seen['T'] + seen['t'] + seen['U'] + seen['u'];
  // Each count over the total, as a proportion is formed everywhere else.
  const double total = static_cast<double>(a + c + g + t);
  return {a / total, c / total, g / total, t / total};
}
