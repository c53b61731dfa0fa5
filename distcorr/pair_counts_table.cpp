// The counts behind every distance as a TSV table, one line per pair.
#include "distcorr/pair_counts_table.hpp"

#include <algorithm>

#include "lib/parallel.hpp"

namespace {

constexpr int kBlockRows = 64;  // rows counted side by side before they are written

std::string row_lines(const tSitePlanes& planes, const std::vector<std::string>& names, long i) {
  std::string text;
  for (long j = i + 1; j < planes.sequences(); ++j) {
    const tPairCounts c = planes.count(i, j);
    text += names[i] + '\t' + names[j] + '\t' + std::to_string(c.compared) + '\t' +
            std::to_string(c.differing()) + '\t' + std::to_string(c.transitions) + '\t' +
            std::to_string(c.transversions) + '\n';
  }
  return text;
}

}  // namespace

void write_pair_counts(std::ostream& out, const tSitePlanes& planes,
                       const std::vector<std::string>& names) {
  out << "a\tb\tsites\tdifferences\ttransitions\ttransversions\n";
  const long n = planes.sequences();
  std::vector<std::string> rows(kBlockRows);
  for (long first = 0; first < n; first += kBlockRows) {
    const int count = static_cast<int>(std::min<long>(kBlockRows, n - first));
    parallel_for(count, [&](int k) { rows[k] = row_lines(planes, names, first + k); });
    for (int k = 0; k < count; ++k) out << rows[k];
  }
}
