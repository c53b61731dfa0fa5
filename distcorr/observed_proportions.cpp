// The observed proportions of every pair, counted on several threads.
#include "distcorr/observed_proportions.hpp"

#include <atomic>
#include <thread>

#include "lib/diagnostics.hpp"

namespace {

long pair_index(long i, long j, long n) {  // position of (i, j), i < j, in row order
  return i * (2 * n - i - 1) / 2 + (j - i - 1);
}

}  // namespace

std::vector<tPairCounts> count_pairs(const tSitePlanes& planes, unsigned threads) {
  const long n = planes.sequences();
  std::vector<tPairCounts> counts(n * (n - 1) / 2);
  // Rows are handed out one at a time: early rows are longer, so a fixed split would idle.
  std::atomic<long> next_row{0};
  auto work = [&] {
    for (long i = next_row++; i < n; i = next_row++)
      for (long j = i + 1; j < n; ++j) counts[pair_index(i, j, n)] = planes.count(i, j);
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  return counts;
}

tObserved observed_proportions(const tSitePlanes& planes, const std::vector<std::string>& names,
                               unsigned threads) {
  const long n = planes.sequences();
  const std::vector<tPairCounts> counts = count_pairs(planes, threads);
  tObserved o{tMatrix(n, n), tMatrix(n, n), tMatrix(n, n)};
  for (long i = 0; i < n; ++i) {
    for (long j = i + 1; j < n; ++j) {
      const tPairCounts& c = counts[pair_index(i, j, n)];
      if (c.compared == 0)
        bye("sequences %s and %s share no site where both have A, C, G or T", names[i].c_str(),
            names[j].c_str());
      const double sites = static_cast<double>(c.compared);
      o.p(i, j) = o.p(j, i) = c.differing() / sites;
      o.P(i, j) = o.P(j, i) = c.transitions / sites;
      o.Q(i, j) = o.Q(j, i) = c.transversions / sites;
    }
  }
  return o;
}
