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

// The tree library's corrections over one row's pairs at a time: their proportions packed into
// the upper triangle of a small matrix, in row order, which the library corrects whole. Each
// pair's arithmetic is the library's own, so the bits are those of one large matrix.
class tLibraryRow {
 public:
  // Room for count pairs: the least size s with s(s-1)/2 >= count; the rest of the triangle
  // holds identical sequences.
  void start(long count) {
    int s = 2;
    while (static_cast<long>(s) * (s - 1) / 2 < count) ++s;
    if (s != a_.dim1()) resize(s);
    for (long cell : cells_) a_.data()[cell] = b_.data()[cell] = 0.0;
  }
  void put(long k, double a, double b) {
    a_.data()[cells_[k]] = a;
    b_.data()[cells_[k]] = b;
  }
  void onepdist(int states) { onepdist_xfix(a_, d_, states, kKeepMarkers); }
  void twopdist(double alpha) { twopdist_xfix(a_, b_, d_, 4, kKeepMarkers, alpha); }
  double distance(long k) const { return d_.data()[cells_[k]]; }
  double proportion(long k) const { return a_.data()[cells_[k]]; }  // onepdist's observed p

 private:
  // Rows come shorter and shorter, so a size is usually kept for many rows.
  void resize(int s) {
    a_ = b_ = d_ = tMatrix(s, s);
    cells_.clear();
    for (long r = 0; r < s; ++r)
      for (long c = r + 1; c < s; ++c) cells_.push_back(r * s + c);
  }

  tMatrix a_, b_, d_;        // observed or transition proportions; transversions; the distances
  std::vector<long> cells_;  // the upper triangle's cells in row order
};

struct tPass {
  const tSitePlanes& planes;
  const tPairSettings& settings;
  tRoute route;
  tPairDistances& out;
  std::vector<long> lonely_pair;           // per row: the first j without a common site, or -1
  std::vector<long> saturated;             // per row: its pairs j > i marked
  std::vector<double> largest, largest_p;  // per row: over its unsaturated pairs j > i
};

// Pair (i, j)'s counts into the row's matrices: a library route's proportions go to its packed
// row (without a common site a pair enters as wholly different, which saturates), every other
// model's distance straight to the matrix.
void count_pair(tPass& pass, tLibraryRow& row, long i, long j) {
  const long n = pass.planes.sequences();
  const tPairCounts c = pass.planes.count(i, j);
  if (c.compared == 0 && pass.lonely_pair[i] < 0) pass.lonely_pair[i] = j;
  if (pass.settings.site_counts) pass.out.sites[pair_index(i, j, n)] = c.compared;
  const double sites = static_cast<double>(c.compared);
  const bool none = c.compared == 0;
  if (pass.route == tRoute::onepdist) {
    row.put(j - i - 1, none ? 1.0 : c.differing() / sites, 0.0);
    if (pass.settings.observed) pass.out.observed.data()[i * n + j] = row.proportion(j - i - 1);
  } else if (pass.route == tRoute::twopdist) {
    row.put(j - i - 1, none ? 0.0 : c.transitions / sites, none ? 1.0 : c.transversions / sites);
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

// Row i's pairs j > i; every row writes only its own cells and tallies.
void fill_row(tPass& pass, tLibraryRow& row, long i) {
  const long n = pass.planes.sequences();
  const bool library = pass.route != tRoute::own;
  if (library) row.start(n - i - 1);
  for (long j = i + 1; j < n; ++j) count_pair(pass, row, i, j);
  if (pass.settings.progress) pass.settings.progress->advance(n - i - 1);
  if (pass.route == tRoute::onepdist) row.onepdist(pass.settings.model.states);
  if (pass.route == tRoute::twopdist) row.twopdist(pass.settings.model.alpha);
  double* distances = pass.out.distances.data() + i * n;
  for (long j = i + 1; j < n; ++j) {
    if (library) distances[j] = row.distance(j - i - 1);
    if (distances[j] == kSaturated) {
      if (pass.settings.variances) pass.out.variances.data()[i * n + j] = kSaturated;
      ++pass.saturated[i];
      continue;
    }
    pass.largest[i] = std::max(pass.largest[i], distances[j]);
    if (pass.route == tRoute::onepdist)
      pass.largest_p[i] = std::max(pass.largest_p[i], row.proportion(j - i - 1));
  }
}

void refuse_lonely_pairs(const tPass& pass, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < pass.lonely_pair.size(); ++i)
    if (pass.lonely_pair[i] >= 0)
      bye("sequences %s and %s share no site where both have A, C, G or T", names[i].c_str(),
          names[pass.lonely_pair[i]].c_str());
}

// The rows' tallies into the matrix's.
void summarise(const tPass& pass, tPairDistances& out) {
  for (std::size_t i = 0; i < pass.saturated.size(); ++i) {
    out.saturated += pass.saturated[i];
    out.largest = std::max(out.largest, pass.largest[i]);
    out.largest_p = std::max(out.largest_p, pass.largest_p[i]);
  }
}

}  // namespace

tPairDistances pair_distances(const tSitePlanes& planes, const std::vector<std::string>& names,
                              const tPairSettings& settings) {
  const long n = planes.sequences();
  const int size = static_cast<int>(n);
  tPairDistances out;
  tPass pass{planes,
             settings,
             route_of(settings.model),
             out,
             std::vector<long>(n, -1),
             std::vector<long>(n, 0),
             std::vector<double>(n, 0.0),
             std::vector<double>(n, 0.0)};
  out.distances = tMatrix(size, size);
  if (settings.variances) out.variances = tMatrix(size, size);
  if (settings.site_counts) out.sites.resize(n * (n - 1) / 2);
  if (pass.route == tRoute::onepdist && settings.observed) out.observed = tMatrix(size, size);
  // Rows are handed out one at a time: early rows are longer, so a fixed split would idle.
  parallel_for_with_state(
      size, [] { return tLibraryRow(); }, [&](tLibraryRow& row, int i) { fill_row(pass, row, i); });
  if (settings.common_site_required) refuse_lonely_pairs(pass, names);
  mirror(out.distances);
  if (settings.variances) mirror(out.variances);
  summarise(pass, out);
  return out;
}
