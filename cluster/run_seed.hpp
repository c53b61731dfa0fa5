// The one seed of a run and the fixed derivation that gives every random use its own stream.
#pragma once

#include <cstdint>
#include <optional>

#include "lib/random_source.hpp"

// The random uses of a run; each draws from its own stream of the run seed.
enum class tRandomUse : std::uint64_t {
  initial_assignment = 1,
  simulation = 2,
  permute_rows = 3,
  permute_columns = 4,
  random_grouping = 5,
  consensus_rows = 6,     // the rows of a consensus resample
  consensus_columns = 7,  // its columns
};

// The splitmix64 finaliser: every input bit moves about half the output bits, so nearby seeds
// and nearby uses still give unrelated derived seeds.
std::uint64_t mix_seed(std::uint64_t z);

// A seed from the high-resolution clock and the process id: runs started together differ.
std::uint64_t clock_seed();

// The -seed value given, else clock_seed(); at verbosity 1 and above, when the run draws random
// numbers, "# seed N" on standard error so that the run can be repeated.
std::uint64_t run_seed(const std::optional<std::uint64_t>& given, bool draws_random_numbers,
                       int verbosity);

// The seed of restart start (1-based): start 1 uses run_seed itself.
std::uint64_t start_seed(std::uint64_t run_seed, int start);

// A source in range mode over [low, high] (or precision mode with 31 bits), seeded for use.
random_source seeded_source(std::uint64_t seed, tRandomUse use, int low, int high);
random_source seeded_source(std::uint64_t seed, tRandomUse use);
