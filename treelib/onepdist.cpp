// Jukes-Cantor distance correction with its saturation replacements and statistics.
#include "treelib/onepdist.hpp"

#include <cmath>

namespace {

constexpr double kSaturated = -1.0;  // marks a saturated pair in the output
constexpr double kMargin = 1e-7;     // a proportion this close to the limit counts as saturated

struct JukesCantor {
  explicit JukesCantor(int s)
      : A(static_cast<double>(s - 1) / s),
        B(static_cast<double>(s) / (s - 1)),
        limit(A - kMargin) {}
  double distance(double p) const { return -A * std::log(1 - B * p); }

  double A;      // saturation level of p
  double B;      // s / (s - 1), computed as written rather than as 1 / A
  double limit;  // p below this is correctable
};

// Shared first pass: corrected distances of the correctable pairs, the marker elsewhere. Only the
// upper triangle is read, each pair before it is written, so observed may be corrected itself.
bool correct_pairs(const tMatrix& observed, tMatrix& corrected, int s, double& maxd) {
  const JukesCantor jc(s);
  const int n = observed.dim1();
  corrected = observed;
  maxd = 0.0;
  bool saturated = false;
  for (int i = 0; i < n; ++i) {
    corrected(i, i) = 0.0;
    for (int j = i + 1; j < n; ++j) {
      const double p = observed(i, j);
      if (p < jc.limit) {
        const double d = jc.distance(p);
        corrected(i, j) = d;
        corrected(j, i) = d;
        if (d > maxd) maxd = d;
      } else {
        corrected(i, j) = kSaturated;
        corrected(j, i) = kSaturated;
        saturated = true;
      }
    }
  }
  return saturated;
}

// Every pair whose value is the marker or exceeds cap gets cap.
void replace_above(tMatrix& corrected, double cap) {
  const int n = corrected.dim1();
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const double v = corrected(i, j);
      if (v == kSaturated || v > cap) {
        corrected(i, j) = cap;
        corrected(j, i) = cap;
      }
    }
  }
}

}  // namespace

bool onepdist(const tMatrix& observed, tMatrix& corrected, int s) {
  return onepdist_xfix(observed, corrected, s, 1.0);
}

bool onepdist_xfix(const tMatrix& observed, tMatrix& corrected, int s, float x) {
  double maxd;
  const bool saturated = correct_pairs(observed, corrected, s, maxd);
  if (saturated && x >= 0) replace_above(corrected, x * maxd);
  return !saturated;
}

bool onepdist_cfix(const tMatrix& observed, tMatrix& corrected, int s, float x) {
  double maxd;
  const bool saturated = correct_pairs(observed, corrected, s, maxd);
  if (saturated && x >= 0) replace_above(corrected, x);
  return !saturated;
}

bool onepdist_pqfix(const tMatrix& observed, tMatrix& corrected, int s, float p0, float q0) {
  const JukesCantor jc(s);
  // The float parameters are widened before any arithmetic.
  const double a =
      (static_cast<double>(q0) - static_cast<double>(p0)) / (1 - static_cast<double>(p0));
  const double b = q0 - a;
  const int n = observed.dim1();
  corrected = observed;
  bool compressed = false;
  for (int i = 0; i < n; ++i) {
    corrected(i, i) = 0.0;
    for (int j = i + 1; j < n; ++j) {
      double v = observed(i, j);
      if (v > p0) {
        v = a * v + b;
        compressed = true;
      }
      const double d = jc.distance(v);
      corrected(i, j) = d;
      corrected(j, i) = d;
    }
  }
  return !compressed;
}

double max_correctible(const tTaxaSet& taxa, const tMatrix& observed, int s) {
  const JukesCantor jc(s);
  double largest = 0.0;
  for (tItem a = taxa.first_item(); a; a = taxa.next_item(a)) {
    for (tItem b = taxa.first_item(); b; b = taxa.next_item(b)) {
      const double p = observed(taxa.inf(a), taxa.inf(b));
      if (p < jc.limit && p > largest) largest = p;
    }
  }
  return largest;
}

double percent_saturated(const tTaxaSet& taxa, const tMatrix& observed, int s) {
  const JukesCantor jc(s);
  const int m = taxa.size();
  if (m < 2) return 0.0;  // no pair, so none saturated
  int count = 0;
  for (tItem a = taxa.first_item(); a; a = taxa.next_item(a)) {
    for (tItem b = taxa.first_item(); b; b = taxa.next_item(b)) {
      if (observed(taxa.inf(a), taxa.inf(b)) >= jc.limit) ++count;
    }
  }
  return 100.0 * count / (m * m - m);
}
