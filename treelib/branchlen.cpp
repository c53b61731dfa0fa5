// Branch-length scaling of a tree: uniform, normalised, random, and in Jukes-Cantor distance space.
#include <cassert>
#include <cmath>
#include <ctime>
#include <iostream>
#include <limits>

#include "lib/diagnostics.hpp"
#include "lib/random_source.hpp"
#include "treelib/tree.hpp"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Each call reseeds its own source with the calendar time in whole seconds. (A source holds
// cursors into its own table, so it is seeded in place rather than returned by value.)
void seed_with_time(random_source& source) {
  source.set_seed(static_cast<int>(std::time(nullptr)));
}

// Multiplies each length by factor(r), r drawn per edge from a freshly time-seeded source, and
// writes the length before and after.
template <class Factor>
void scale_by_draws(tTree& tree, Factor factor) {
  random_source source;
  seed_with_time(source);
  for (edge e : tree.all_edges()) {
    double r;
    source >> r;
    const double g = factor(r);
    double& length = tree[e];
    std::cout << "BEFORE = " << length << std::endl;
    length = length * g;
    std::cout << "AFTER = " << length << std::endl;
  }
}

}  // namespace

void tTree::scale(double f) {
  for (edge e : all_edges()) (*this)[e] = (*this)[e] * f;
}

void tTree::normalize() {
  const double m = max_length();
  if (m > 0) {
    scale(1 / m);
  } else {
    scale(0.0);
  }
}

void tTree::scale_random() {
  scale_by_draws(*this, [](double r) { return r; });
}

void tTree::stretch(double s) {
  scale_by_draws(*this, [s](double r) { return 1 / s + r * (s - 1 / s); });
}

void tTree::scale_jc(double f, int nstates) {
  // The condition texts are part of the assertion reports.
  // clang-format off
  assert(nstates>1);
  // clang-format on
  const double A = static_cast<double>(nstates - 1) / nstates;
  const double B = static_cast<double>(nstates) / (nstates - 1);
  bool warned = false;
  for (edge e : all_edges()) {
    const double p_e = (*this)[e];
    // clang-format off
    assert(p_e>=0);
    // clang-format on
    const double y = 1 - B * p_e;
    double d;
    if (y > 0) {
      d = -A * std::log(y);
    } else {
      d = kInfinity;
      if (!warned) warning("scale_jc(): Out of range: p(e)=%g", p_e);
      warned = true;
    }
    // Scaling by zero shrinks every edge to nothing, saturated ones included (no 0 * inf).
    d = f == 0.0 ? 0.0 : d * f;
    (*this)[e] = A * (1 - std::exp(-B * d));
  }
}

void tTree::convert_to_jc(int nstates) {
  // The condition texts are part of the assertion reports.
  // clang-format off
  assert(nstates>1);
  // clang-format on
  const double A = static_cast<double>(nstates - 1) / nstates;
  const double B = static_cast<double>(nstates) / (nstates - 1);
  double maxd = 0.0;
  bool warned = false;
  for (edge e : all_edges()) {
    const double p_e = (*this)[e];
    // clang-format off
    assert(p_e>=0);
    // clang-format on
    const double y = 1 - B * p_e;
    double d;
    if (y > 0) {
      d = -A * std::log(y);
      if (d > maxd) maxd = d;
    } else {
      d = kInfinity;
      if (!warned) warning("convert_to_jc(): Out of range: p(e)=%g", p_e);
      warned = true;
    }
    (*this)[e] = d;
  }
  // Saturated edges take the longest finite distance of the tree.
  for (edge e : all_edges()) {
    if ((*this)[e] == kInfinity) (*this)[e] = maxd;
  }
}
