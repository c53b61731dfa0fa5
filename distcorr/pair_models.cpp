// Distances of one pair of sequences under each substitution model, with their variances.
//
// Formulas: Jukes and Cantor (1969), Kimura (1980), Felsenstein (1981), Tamura (1992), Tamura
// and Nei (1993), Felsenstein's F84 as given by McGuire, Prentice and Wright (1999), LogDet of
// Lockhart et al. (1994); gamma rates after Jin and Nei (1990). Where a published form and ape's
// dist.dna differ, dist.dna's results are followed.
// Every variance is the delta method's: (sum c_k^2 x_k - (sum c_k x_k)^2) / sites, where x_k
// are the observed proportions and c_k the distance's derivatives by them.
#include "distcorr/pair_models.hpp"

#include <cmath>

#include "treelib/jukes_cantor.hpp"

namespace {

constexpr double kMargin = 1e-7;  // a base at or below this is saturated

struct tProportions {
  double sites, p, P, Q, P1, P2;  // differing, transitions, transversions, A<->G, C<->T
};

tProportions proportions_of(const tPairCounts& c) {
  const double sites = static_cast<double>(c.compared);
  return {sites,
          c.differing() / sites,
          c.transitions / sites,
          c.transversions / sites,
          c.purine_transitions / sites,
          (c.transitions - c.purine_transitions) / sites};
}

// A log-distance term -log(w), or its gamma form alpha * (w^(-1/alpha) - 1).
double log_term(double w, double alpha) {
  return alpha > 0 ? alpha * (std::pow(w, -1 / alpha) - 1) : -std::log(w);
}

// The derivative of log_term by w, negated: 1/w, or w^(-1/alpha - 1) under gamma.
double slope(double w, double alpha) {
  return alpha > 0 ? std::pow(w, -1 / alpha - 1) : 1 / w;
}

// Variance of a distance of the one proportion p with derivative c.
double one_variance(double p, double c, double sites) {
  return p * (1 - p) * c * c / sites;
}

// Variance of a distance of two proportions x, y with derivatives cx, cy.
double two_variance(double x, double cx, double y, double cy, double sites) {
  const double mean = cx * x + cy * y;
  return (cx * cx * x + cy * cy * y - mean * mean) / sites;
}

tPairEstimate saturated() {
  return {0.0, 0.0, true};
}

// A distance -E log(1 - p/E): Jukes-Cantor (E = (s-1)/s) and F81 (E = 1 - sum of squares).
tPairEstimate equal_input(const tProportions& x, double E, double alpha) {
  const double w = 1 - x.p / E;
  if (w <= kMargin) return saturated();
  return {E * log_term(w, alpha), one_variance(x.p, slope(w, alpha), x.sites), false};
}

tPairEstimate kimura(const tProportions& x, double alpha) {
  const double w2 = 1 - 2 * x.Q;
  const double w1 = 1 - 2 * x.P - x.Q;
  if (w2 <= kMargin || w1 <= kMargin) return saturated();
  const double d = 0.5 * log_term(w1, alpha) + 0.25 * log_term(w2, alpha);
  const double c1 = slope(w1, alpha), c3 = (c1 + slope(w2, alpha)) / 2;
  return {d, two_variance(x.P, c1, x.Q, c3, x.sites), false};
}

tPairEstimate tamura(const tProportions& x, const tBaseFrequencies& f) {
  const double gc = f[1] + f[2];
  const double h = 2 * gc * (1 - gc);
  const double w1 = 1 - x.P / h - x.Q;
  const double w2 = 1 - 2 * x.Q;
  if (w1 <= kMargin || w2 <= kMargin) return saturated();
  const double d = -h * std::log(w1) - 0.5 * (1 - h) * std::log(w2);
  const double c1 = 1 / w1, c2 = 1 / w2, c3 = h * (c1 - c2) + c2;
  return {d, two_variance(x.P, c1, x.Q, c3, x.sites), false};
}

tPairEstimate tamura_nei(const tProportions& x, const tBaseFrequencies& f, double alpha) {
  const double gR = f[0] + f[2], gY = f[1] + f[3];
  const double k1 = 2 * f[0] * f[2] / gR, k2 = 2 * f[1] * f[3] / gY;
  const double k3 = 2 * (gR * gY - f[0] * f[2] * gY / gR - f[1] * f[3] * gR / gY);
  const double w1 = 1 - x.P1 / k1 - x.Q / (2 * gR);
  const double w2 = 1 - x.P2 / k2 - x.Q / (2 * gY);
  const double w3 = 1 - x.Q / (2 * gR * gY);
  if (w1 <= kMargin || w2 <= kMargin || w3 <= kMargin) return saturated();
  const double d = k1 * log_term(w1, alpha) + k2 * log_term(w2, alpha) + k3 * log_term(w3, alpha);
  const double c1 = slope(w1, alpha), c2 = slope(w2, alpha), c3 = slope(w3, alpha);
  const double c4 = k1 * c1 / (2 * gR) + k2 * c2 / (2 * gY) + k3 * c3 / (2 * gR * gY);
  const double mean = c1 * x.P1 + c2 * x.P2 + c4 * x.Q;
  return {d, (c1 * c1 * x.P1 + c2 * c2 * x.P2 + c4 * c4 * x.Q - mean * mean) / x.sites, false};
}

tPairEstimate felsenstein84(const tProportions& x, const tBaseFrequencies& f) {
  const double gR = f[0] + f[2], gY = f[1] + f[3];
  const double A = f[1] * f[3] / gY + f[0] * f[2] / gR;
  const double B = f[1] * f[3] + f[0] * f[2];
  const double C = gR * gY;
  const double w1 = 1 - x.P / (2 * A) - (A - B) * x.Q / (2 * A * C);
  const double w2 = 1 - x.Q / (2 * C);
  if (w1 <= kMargin || w2 <= kMargin) return saturated();
  const double d = -2 * A * std::log(w1) + 2 * (A - B - C) * std::log(w2);
  const double a = 1 / w1;
  const double b = (A - B) / (C * w1) - (A - B - C) / (C * w2);
  return {d, two_variance(x.P, a, x.Q, b, x.sites), false};
}

// Determinant and inverse of a 4 x 4 matrix by Gauss-Jordan elimination with partial pivoting.
double invert(double m[4][4], double inverse[4][4]) {
  double det = 1;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) inverse[r][c] = r == c;
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
    if (m[pivot][col] == 0) return 0;
    if (pivot != col) {
      det = -det;
      for (int c = 0; c < 4; ++c) {
        std::swap(m[pivot][c], m[col][c]);
        std::swap(inverse[pivot][c], inverse[col][c]);
      }
    }
    const double diagonal = m[col][col];
    det *= diagonal;
    for (int c = 0; c < 4; ++c) {
      m[col][c] /= diagonal;
      inverse[col][c] /= diagonal;
    }
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      const double factor = m[r][col];
      for (int c = 0; c < 4; ++c) {
        m[r][c] -= factor * m[col][c];
        inverse[r][c] -= factor * inverse[col][c];
      }
    }
  }
  return det;
}

// -log(det F)/4 - log 4, F the table of the pair's sites as proportions: the symmetric LogDet
// normalised by equal base frequencies, as ape's dist.dna computes it.
tPairEstimate log_det(const tPairTable& table, double sites) {
  double F[4][4], work[4][4], inverse[4][4];
  for (int u = 0; u < 4; ++u)
    for (int v = 0; v < 4; ++v) work[u][v] = F[u][v] = table[4 * u + v] / sites;
  // The determinant is a product of four proportions: a margin meant for one would cut too early.
  const double det = invert(work, inverse);
  if (det <= 0) return saturated();
  // Derivative by F(u, v): -inverse(v, u)/4, whose mean over F is -1.
  double squares = 0;
  for (int u = 0; u < 4; ++u)
    for (int v = 0; v < 4; ++v) squares += inverse[v][u] * inverse[v][u] * F[u][v];
  return {-std::log(det) / 4 - std::log(4.0), (squares / 16 - 1) / sites, false};
}

tPairEstimate estimate(const tPairCounts& counts, const tPairTable& table,
                       const tModelParameters& m) {
  const tProportions x = proportions_of(counts);
  const tBaseFrequencies& f = m.frequencies;
  switch (m.model) {
    case tModel::raw:
      return {x.p, one_variance(x.p, 1, x.sites), false};
    case tModel::jc:
      return equal_input(x, tJukesCantor(m.states).A, m.alpha);
    case tModel::k2p:
      return kimura(x, m.alpha);
    case tModel::f81:
      return equal_input(x, 1 - (f[0] * f[0] + f[1] * f[1] + f[2] * f[2] + f[3] * f[3]), m.alpha);
    case tModel::t92:
      return tamura(x, f);
    case tModel::tn93:
      return tamura_nei(x, f, m.alpha);
    case tModel::f84:
      return felsenstein84(x, f);
    case tModel::logdet:
      return log_det(table, x.sites);
  }
  return saturated();
}

}  // namespace

bool has_gamma(tModel model) {
  return model == tModel::jc || model == tModel::k2p || model == tModel::f81 ||
         model == tModel::tn93;
}

bool needs_table(tModel model) {
  return model == tModel::logdet;
}

tPairEstimate estimate_pair(const tPairCounts& counts, const tPairTable& table,
                            const tModelParameters& parameters) {
  if (counts.compared == 0) return saturated();
  const tPairEstimate e = estimate(counts, table, parameters);
  if (e.saturated || !std::isfinite(e.distance)) return saturated();
  return e;
}
