// The Jukes-Cantor model for s states, shared by the distance correction and the branch lengths.
#pragma once

#include <cmath>

struct tJukesCantor {
  explicit tJukesCantor(int s)
      : A(static_cast<double>(s - 1) / s), B(static_cast<double>(s) / (s - 1)) {}
  // The corrected distance of proportion p; finite while 1 - B * p > 0.
  double distance(double p) const { return -A * std::log(1 - B * p); }

  double A;  // saturation level of p
  double B;  // s / (s - 1), computed as written rather than as 1 / A
};
