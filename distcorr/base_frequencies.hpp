// The frequencies of A, C, G and T over a whole alignment, as the models with unequal base
// frequencies take them.
#pragma once

#include <array>
#include <string>
#include <vector>

using tBaseFrequencies = std::array<double, 4>;  // A, C, G, T

// Every sequence and every site, before any deletion; U counts as T, case is ignored, other
// codes are left out. All four are NaN when the alignment holds none of the four bases.
tBaseFrequencies base_frequencies(const std::vector<std::string>& sequences);
