// Bootstrap replicates of an alignment: its columns drawn with replacement.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "distcorr/site_planes.hpp"

// The columns a replicate draws from: under global deletion those every sequence resolves to
// A, C, G or T, else all of them.
std::vector<long> candidate_columns(const std::vector<std::string>& sequences, tDeletion deletion);

// The draw: as many columns as there are candidates, each candidates[x mod m] for the next word
// x of the 64-bit Mersenne Twister (std::mt19937_64) that is not below 2^64 mod m (m the number
// of candidates, so that every column is equally likely). One engine, seeded once with the run's
// seed, serves the replicates in order. REQUIRES: candidates not empty.
std::vector<long> draw_columns(const std::vector<long>& candidates, std::mt19937_64& engine);

// The alignment made of the given columns, in the order given.
std::vector<std::string> resample(const std::vector<std::string>& sequences,
                                  const std::vector<long>& columns);
