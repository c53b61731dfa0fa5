// Charts and tables of the consensus report.
#include "cluster/consensus/consensus_report.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>

#include "cluster/consensus/consensus_outputs.hpp"
#include "cluster/report/line_chart.hpp"
#include "cluster/report/svg_text.hpp"

namespace {

void write_cdf_charts(std::ostream& os, const std::vector<tConsensusOfK>& results) {
  os << "<h2>Consensus CDF</h2>\n";
  for (const tConsensusOfK& r : results) {
    tLineChart chart;
    chart.title = "k = " + std::to_string(r.k) + ": fraction of pairs with M <= x";
    chart.x_label = "x (1/100)";
    const long long all = std::accumulate(r.bins.begin(), r.bins.end(), 0LL);
    long long below = 0;
    for (long long b : r.bins) {
      below += b;
      chart.values.push_back(all > 0 ? static_cast<double>(below) / static_cast<double>(all) : 0);
    }
    write_line_chart(os, chart);
  }
}

void write_k_charts(std::ostream& os, const std::vector<tConsensusOfK>& results) {
  tLineChart delta, pac;
  delta.title = "Relative change of the CDF area";
  pac.title = "PAC";
  delta.x_label = pac.x_label = "k";
  for (const tConsensusOfK& r : results) {
    delta.values.push_back(r.delta);
    pac.values.push_back(r.pac);
    delta.x_names.push_back(std::to_string(r.k));
    pac.x_names.push_back(std::to_string(r.k));
  }
  os << "<h2>Choosing k</h2>\n";
  write_line_chart(os, delta);
  write_line_chart(os, pac);
}

template <typename T>
double consensus_at(const tCountArrays<T>& a, int k_index, int n, int i, int j) {
  if (i == j) return 1;
  const std::size_t p = i < j ? pair_index(n, i, j) : pair_index(n, j, i);
  const T d = a.drawn[p];
  return d == 0 ? 0 : static_cast<double>(a.together[static_cast<std::size_t>(k_index)][p]) / d;
}

// Cell (a, b) is the mean M over its block of the rows in class order.
void write_heatmap(std::ostream& os, const tConsensusReportInput& in, int k_index) {
  const tConsensusOfK& r = in.results[static_cast<std::size_t>(k_index)];
  const int n = static_cast<int>(r.classes.size());
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return r.classes[a] < r.classes[b]; });
  const int side = heatmap_side(n);
  const int pixel = std::max(1, 600 / std::max(side, 1));
  os << "<h2>Consensus matrix, k = " << r.k << "</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\""
     << " width=\"" << side * pixel << "\" height=\"" << side * pixel << "\">\n";
  const auto block = [&](int cell) {
    return static_cast<int>(static_cast<long long>(cell) * n / side);
  };
  in.counts.visit([&](const auto& arrays) {
    for (int a = 0; a < side; ++a)
      for (int b = 0; b < side; ++b) {
        double sum = 0;
        long long cells = 0;
        for (int i = block(a); i < block(a + 1); ++i)
          for (int j = block(b); j < block(b + 1); ++j, ++cells)
            sum += consensus_at(arrays, k_index, n, order[i], order[j]);
        const int shade = static_cast<int>(std::lround(255 * (1 - sum / std::max(cells, 1LL))));
        os << "<rect x=\"" << b * pixel << "\" y=\"" << a * pixel << "\" width=\"" << pixel
           << "\" height=\"" << pixel << "\" fill=\"rgb(" << shade << ',' << shade << ",255)\"/>\n";
      }
  });
  os << "</svg>\n";
}

void write_item_consensus(std::ostream& os, const tConsensusOfK& r) {
  os << "<h2>Item consensus by class, k = " << r.k << "</h2>\n<table>\n"
     << "<tr><th>class</th><th>rows</th><th>cluster consensus</th>"
     << "<th>mean item consensus</th><th>least item consensus</th></tr>\n";
  const std::size_t k = static_cast<std::size_t>(r.k);
  for (int c = 1; c <= r.k; ++c) {
    int rows = 0;
    double sum = 0, least = NAN;
    for (std::size_t i = 0; i < r.classes.size(); ++i) {
      if (r.classes[i] != c) continue;
      const double item = r.item_consensus[i * k + static_cast<std::size_t>(c - 1)];
      ++rows;
      sum += item;
      if (!(item >= least)) least = item;
    }
    os << "<tr><td>" << c << "</td><td>" << rows << "</td><td>"
       << consensus_number(r.cluster_consensus[static_cast<std::size_t>(c - 1)]) << "</td><td>"
       << consensus_number(sum / rows) << "</td><td>" << consensus_number(least) << "</td></tr>\n";
  }
  os << "</table>\n";
}

}  // namespace

int heatmap_side(int rows) {
  if (static_cast<long long>(rows) * rows <= max_heatmap_cells) return rows;
  return static_cast<int>(std::sqrt(static_cast<double>(max_heatmap_cells)));
}

void write_consensus_report(std::ostream& os, const tConsensusReportInput& in) {
  const int best = best_k_index(in.results);
  const tConsensusDesign& d = in.design;
  os << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Consensus clustering of "
     << xml_escaped(in.input_name) << "</title>\n<style>body{font-family:sans-serif}"
     << "td,th{padding:2px 8px;text-align:right}</style></head><body>\n"
     << "<h1>Consensus clustering of " << xml_escaped(in.input_name) << "</h1>\n<p>"
     << in.names.size() << " rows; runs " << d.first_run << ".." << d.end_run << " of " << d.runs
     << "; k = " << d.k_first << ".." << d.k_last << "; rows drawn " << d.row_fraction
     << ", columns drawn " << d.column_fraction << "; seed " << d.seed << "</p>\n";
  write_cdf_charts(os, in.results);
  write_k_charts(os, in.results);
  write_heatmap(os, in, best);
  write_item_consensus(os, in.results[static_cast<std::size_t>(best)]);
  os << "</body></html>\n";
}
