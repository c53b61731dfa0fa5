// Branch-length scaling of a tree: uniform, normalised, random, and in Jukes-Cantor distance space.

#include <cmath>
#include <ctime>
#include <iostream>
#include <limits>

#include "lib/assertion.hpp"
#include "lib/diagnostics.hpp"
#include "lib/random_source.hpp"
#include "treelib/jukes_cantor.hpp"
#include "treelib/tree.hpp"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Each call reseeds its own source with the calendar time in whole seconds. (A source holds
// cursors into its own table, so it is seeded in place rather than returned by value.)
void seed_with_time(random_source& source) {
  source.set_seed(static_cast<int>(std::time(nullptr)));
}

// Jukes-Cantor distances of the edge proportions seen by one call: an edge out of range
// (1 - B * p <= 0) is infinitely long, and the first such edge is reported with the caller's text.
class EdgeDistances : public tJukesCantor {
 public:
  EdgeDistances(int nstates, const char* out_of_range_format)
      : tJukesCantor(nstates), out_of_range_format_(out_of_range_format) {}

  double operator()(double p_e) {
    if (1 - B * p_e > 0) return distance(p_e);
    if (!warned_) warning(out_of_range_format_, p_e);
    warned_ = true;
    return kInfinity;
  }

 private:
  const char* out_of_range_format_;  // one %g conversion, for p(e)
  bool warned_ = false;
};

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
  TOOLKIT_ASSERT(nstates > 1, "nstates>1");
  EdgeDistances jc(nstates, "scale_jc(): Out of range: p(e)=%g");
  for (edge e : all_edges()) {
    const double p_e = (*this)[e];
    TOOLKIT_ASSERT(p_e >= 0, "p_e>=0");
    double d = jc(p_e);
    // Scaling by zero shrinks every edge to nothing, saturated ones included (no 0 * inf).
    d = f == 0.0 ? 0.0 : d * f;
    (*this)[e] = jc.A * (1 - std::exp(-jc.B * d));
  }
}

void tTree::convert_to_jc(int nstates) {
  TOOLKIT_ASSERT(nstates > 1, "nstates>1");
  EdgeDistances jc(nstates, "convert_to_jc(): Out of range: p(e)=%g");
  double maxd = 0.0;
  for (edge e : all_edges()) {
    const double p_e = (*this)[e];
    TOOLKIT_ASSERT(p_e >= 0, "p_e>=0");
    const double d = jc(p_e);
    if (d != kInfinity && d > maxd) maxd = d;
    (*this)[e] = d;
  }
  // Saturated edges take the longest finite distance of the tree.
  for (edge e : all_edges()) {
    if ((*this)[e] == kInfinity) (*this)[e] = maxd;
  }
}
