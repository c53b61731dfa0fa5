// Jukes-Cantor distance correction with its saturation replacements and statistics.
#include "treelib/onepdist.hpp"

#include "treelib/jukes_cantor.hpp"
#include "treelib/pair_passes.hpp"

namespace {

constexpr double kMargin = 1e-7;  // a proportion this close to the limit counts as saturated

struct JukesCantor : tJukesCantor {
  explicit JukesCantor(int s) : tJukesCantor(s), limit(A - kMargin) {}
  double limit;  // p below this is correctable
};

// Shared first pass: corrected distances of the correctable pairs, the marker elsewhere. Only the
// upper triangle is read, each pair before it is written, so observed may be corrected itself.
// Rows in order, each pair's arithmetic as written; only the indexing is unchecked.
bool correct_pairs(const tMatrix& observed, tMatrix& corrected, int s, double& maxd) {
  const JukesCantor jc(s);
  const long w = checked_stride(observed, observed.dim1());
  corrected = observed;
  const double* in = observed.data();
  maxd = 0.0;
  bool saturated = false;
  write_pairs(corrected, [&](long i, long j) {
    const double p = in[i * w + j];
    if (p < jc.limit) {
      const double d = jc.distance(p);
      if (d > maxd) maxd = d;
      return d;
    }
    saturated = true;
    return kSaturated;
  });
  return saturated;
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
  const long w = checked_stride(observed, observed.dim1());
  corrected = observed;
  const double* in = observed.data();
  bool compressed = false;
  write_pairs(corrected, [&](long i, long j) {
    double v = in[i * w + j];
    if (v > p0) {
      v = a * v + b;
      compressed = true;
    }
    return jc.distance(v);
  });
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
