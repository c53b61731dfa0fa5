// Writing the consensus table and labels.
#include "cluster/consensus/consensus_outputs.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

std::string consensus_number(double x) {
  if (std::isnan(x)) return "NA";
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, x);
    if (std::strtod(text, nullptr) == x) break;
  }
  return text;
}

void write_consensus_table(std::ostream& os, const std::vector<tConsensusOfK>& results, int runs) {
  os << "k\truns\tpac\tarea\tdelta\tmean_consensus\tleast_consensus\tbest\n";
  const int best = best_k_index(results);
  for (std::size_t i = 0; i < results.size(); ++i) {
    const tConsensusOfK& r = results[i];
    os << r.k << '\t' << runs << '\t' << consensus_number(r.pac) << '\t' << consensus_number(r.area)
       << '\t' << consensus_number(r.delta) << '\t' << consensus_number(r.mean_consensus) << '\t'
       << consensus_number(r.least_consensus) << '\t' << (static_cast<int>(i) == best ? 1 : 0)
       << '\n';
  }
}

void write_consensus_labels(std::ostream& os, const std::vector<std::string>& names,
                            const std::vector<tConsensusOfK>& results) {
  os << "name\trow";
  for (const tConsensusOfK& r : results) os << "\tclass_k" << r.k << "\tconsensus_k" << r.k;
  os << '\n';
  for (std::size_t i = 0; i < names.size(); ++i) {
    os << names[i] << '\t' << i;
    for (const tConsensusOfK& r : results) {
      const int c = r.classes[i];
      os << '\t' << c << '\t'
         << consensus_number(r.item_consensus[i * static_cast<std::size_t>(r.k) + c - 1]);
    }
    os << '\n';
  }
}
