// Seeds of a run: one 64-bit seed, mixed into one 32-bit generator seed per random use.
#include "cluster/run_seed.hpp"

#include <unistd.h>

#include <chrono>
#include <iostream>

std::uint64_t mix_seed(std::uint64_t z) {
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

namespace {

// The whole generator table from one stream of the seed: a single 32-bit set_seed would leave
// draws over a small range depending on only the seed's lowest bits.
void seed_table(random_source& source, std::uint64_t seed, tRandomUse use) {
  std::uint64_t state = mix_seed(seed ^ mix_seed(static_cast<std::uint64_t>(use)));
  std::uint32_t words[31];
  for (std::uint32_t& word : words) {
    state += 0x9e3779b97f4a7c15ULL;  // the splitmix64 sequence: consecutive states, mixed
    word = static_cast<std::uint32_t>(mix_seed(state) >> 32);
  }
  source.set_table(words);
}

}  // namespace

std::uint64_t clock_seed() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return mix_seed(mix_seed(static_cast<std::uint64_t>(ticks)) +
                  static_cast<std::uint64_t>(::getpid()));
}

std::uint64_t run_seed(const std::optional<std::uint64_t>& given, bool draws_random_numbers,
                       int verbosity) {
  const std::uint64_t seed = given ? *given : clock_seed();
  if (verbosity >= 1 && draws_random_numbers) std::cerr << "# seed " << seed << '\n';
  return seed;
}

std::uint64_t start_seed(std::uint64_t run_seed, int start) {
  return start == 1 ? run_seed
                    : mix_seed(run_seed ^ mix_seed(static_cast<std::uint64_t>(start) << 32));
}

random_source seeded_source(std::uint64_t seed, tRandomUse use, int low, int high) {
  random_source source(low, high);
  seed_table(source, seed, use);
  return source;
}

random_source seeded_source(std::uint64_t seed, tRandomUse use) {
  random_source source;
  seed_table(source, seed, use);
  return source;
}
