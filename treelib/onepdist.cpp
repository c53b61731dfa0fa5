// Jukes-Cantor distance correction with its saturation replacements and statistics.
#include "treelib/onepdist.hpp"

#include <cmath>

#include "treelib/square_block.hpp"

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
// Rows in order, each pair's arithmetic as written; only the indexing is unchecked.
bool correct_pairs(const tMatrix& observed, tMatrix& corrected, int s, double& maxd) {
  const JukesCantor jc(s);
  const int n = observed.dim1();
  const long w = checked_stride(observed, n);
  corrected = observed;
  const double* in = observed.data();
  double* out = corrected.data();
  maxd = 0.0;
  bool saturated = false;
  for (long i = 0; i < n; ++i) {
    out[i * w + i] = 0.0;
    for (long j = i + 1; j < n; ++j) {
      const double p = in[i * w + j];
      if (p < jc.limit) {
        const double d = jc.distance(p);
        out[i * w + j] = d;
        out[j * w + i] = d;
        if (d > maxd) maxd = d;
      } else {
        out[i * w + j] = kSaturated;
        out[j * w + i] = kSaturated;
        saturated = true;
      }
    }
  }
  return saturated;
}

// Every pair whose value is the marker or exceeds cap gets cap.
void replace_above(tMatrix& corrected, double cap) {
  const int n = corrected.dim1();
  const long w = checked_stride(corrected, n);
  double* m = corrected.data();
  for (long i = 0; i < n; ++i) {
    for (long j = i + 1; j < n; ++j) {
      const double v = m[i * w + j];
      if (v == kSaturated || v > cap) {
        m[i * w + j] = cap;
        m[j * w + i] = cap;
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
  const long w = checked_stride(observed, n);
  corrected = observed;
  const double* in = observed.data();
  double* out = corrected.data();
  bool compressed = false;
  for (long i = 0; i < n; ++i) {
    out[i * w + i] = 0.0;
    for (long j = i + 1; j < n; ++j) {
      double v = in[i * w + j];
      if (v > p0) {
        v = a * v + b;
        compressed = true;
      }
      const double d = jc.distance(v);
      out[i * w + j] = d;
      out[j * w + i] = d;
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
