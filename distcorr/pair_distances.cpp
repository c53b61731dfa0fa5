// The distance of every pair of sequences under one model, counted on the run's threads.
#include "distcorr/pair_distances.hpp"

#include <algorithm>

#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"
#include "treelib/onepdist.hpp"
#include "treelib/pair_passes.hpp"
#include "treelib/twopdist.hpp"

namespace {

constexpr float kKeepMarkers = -1.0f;  // a negative replacement leaves the markers in place

enum class tRoute { onepdist, twopdist, own };

tRoute route_of(const tModelParameters& m) {
  if (m.model == tModel::jc && m.alpha == 0) return tRoute::onepdist;
  if (m.model == tModel::k2p && m.alpha > 0) return tRoute::twopdist;
  return tRoute::own;
}

long pair_index(long i, long j, long n) {  // position of (i, j), i < j, in row order
  return i * (2 * n - i - 1) / 2 + (j - i - 1);
}

// Copies the upper triangle to the lower one, rows side by side.
void mirror(tMatrix& m) {
  const long n = m.dim1();
  double* data = m.data();
  parallel_for(static_cast<int>(n), [&](int i) {
    for (long j = 0; j < i; ++j) data[i * n + j] = data[j * n + i];
  });
}

struct tPass {
  const tSitePlanes& planes;
  const tPairSettings& settings;
  tRoute route;
  tPairDistances& out;
  tMatrix P, Q;                   // twopdist's inputs
  std::vector<long> lonely_pair;  // per row: the first j without a common site, or -1
};

// One pair into the matrices of its route; every pair writes only its own cells.
void fill_pair(tPass& pass, long i, long j) {
  const long n = pass.planes.sequences();
  const tPairCounts c = pass.planes.count(i, j);
  if (c.compared == 0 && pass.lonely_pair[i] < 0) pass.lonely_pair[i] = j;
  if (pass.settings.site_counts) pass.out.sites[pair_index(i, j, n)] = c.compared;
  const double sites = static_cast<double>(c.compared);
  // Without a common site a pair enters the corrections as wholly different, which saturates.
  const bool none = c.compared == 0;
  if (pass.route == tRoute::onepdist) {
    pass.out.observed.data()[i * n + j] = none ? 1.0 : c.differing() / sites;
  } else if (pass.route == tRoute::twopdist) {
    pass.P.data()[i * n + j] = none ? 0.0 : c.transitions / sites;
    pass.Q.data()[i * n + j] = none ? 1.0 : c.transversions / sites;
  }
  if (pass.route == tRoute::own || pass.settings.variances) {
    const tPairTable table =
        needs_table(pass.settings.model.model) ? pass.planes.table(i, j) : tPairTable{};
    const tPairEstimate e = estimate_pair(c, table, pass.settings.model);
    if (pass.route == tRoute::own)
      pass.out.distances.data()[i * n + j] = e.saturated ? kSaturated : e.distance;
    if (pass.settings.variances)
      pass.out.variances.data()[i * n + j] = e.saturated ? kSaturated : e.variance;
  }
}

void refuse_lonely_pairs(const tPass& pass, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < pass.lonely_pair.size(); ++i)
    if (pass.lonely_pair[i] >= 0)
      bye("sequences %s and %s share no site where both have A, C, G or T", names[i].c_str(),
          names[pass.lonely_pair[i]].c_str());
}

// The count of marked pairs and the largest distances of the others.
void summarise(tPairDistances& out, tRoute route) {
  const long n = out.distances.dim1();
  const double* d = out.distances.data();
  for (long i = 0; i < n; ++i)
    for (long j = i + 1; j < n; ++j) {
      if (d[i * n + j] == kSaturated) {
        ++out.saturated;
        continue;
      }
      out.largest = std::max(out.largest, d[i * n + j]);
      if (route == tRoute::onepdist)
        out.largest_p = std::max(out.largest_p, out.observed.data()[i * n + j]);
    }
}

// Saturated pairs of the library's corrections carry the marker in the variances too.
void mark_variances(tPairDistances& out) {
  const long n = out.distances.dim1();
  for (long k = 0; k < n * n; ++k)
    if (out.distances.data()[k] == kSaturated) out.variances.data()[k] = kSaturated;
}

}  // namespace

tPairDistances pair_distances(const tSitePlanes& planes, const std::vector<std::string>& names,
                              const tPairSettings& settings) {
  const long n = planes.sequences();
  const int size = static_cast<int>(n);
  tPairDistances out;
  tPass pass{planes, settings, route_of(settings.model), out, {}, {}, std::vector<long>(n, -1)};
  out.distances = tMatrix(size, size);
  if (settings.variances) out.variances = tMatrix(size, size);
  if (settings.site_counts) out.sites.resize(n * (n - 1) / 2);
  if (pass.route == tRoute::onepdist) out.observed = tMatrix(size, size);
  if (pass.route == tRoute::twopdist) pass.P = pass.Q = tMatrix(size, size);
  // Rows are handed out one at a time: early rows are longer, so a fixed split would idle.
  parallel_for(size, [&](int i) {
    for (long j = i + 1; j < n; ++j) fill_pair(pass, i, j);
  });
  if (settings.common_site_required) refuse_lonely_pairs(pass, names);
  if (pass.route == tRoute::onepdist)
    onepdist_xfix(out.observed, out.distances, settings.model.states, kKeepMarkers);
  else if (pass.route == tRoute::twopdist)
    twopdist_xfix(pass.P, pass.Q, out.distances, 4, kKeepMarkers, settings.model.alpha);
  else
    mirror(out.distances);
  if (settings.variances) {
    mirror(out.variances);
    mark_variances(out);
  }
  summarise(out, pass.route);
  return out;
}
