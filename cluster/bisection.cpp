// The bisection phase: sign split, k-means refinement, group labels and the report blocks.
#include "cluster/bisection.hpp"

#include <ostream>
#include <vector>

#include "algorithms/kmeans.hpp"
#include "algorithms/products.hpp"
#include "cluster/progress.hpp"
#include "lib/parallel.hpp"

namespace {

// The two sides of cluster i and their unit means, before refinement. A side without members
// gets the zero vector divided by zero (not-a-number entries), which kmeans never places with.
void split_by_sign(const matrix& data, const tTaxaSet& cluster, const vector& direction,
                   array<tTaxaSet>& halves, array<vector>& half_means) {
  double counts[2] = {0.0, 0.0};
  std::vector<double> products(cluster.size());
  member_products(data, cluster, direction, products.data());
  int j = 0;
  for (tItem it = cluster.first_item(); it != 0; it = cluster.next_item(it), ++j) {
    const int side = products[j] > 0 ? 1 : 0;
    halves[side].insert(cluster.inf(it));
    counts[side] += 1;
  }
  // Each half's rows in member order, as adding them one by one while splitting would.
  for (int side = 0; side < 2; ++side) add_member_rows(data, halves[side], half_means[side]);
  for (int side = 0; side < 2; ++side) {
    const double count = counts[side] == 0 ? 1 : counts[side];
    half_means[side] = half_means[side] / count;
    half_means[side] = half_means[side] / half_means[side].length();
  }
}

void write_group(std::ostream& out, int group, const tTaxaSet& members, const vector& mean,
                 const tNames& names) {
  out << "CLUSTER " << group << '\n';
  if (members.empty())
    out << "EMPTY";
  else
    names.print(members, ' ', out);
  out << '\n' << mean << '\n';
}

}  // namespace

tBisection bisect_clusters(const matrix& data, const tNames& names, const array<tTaxaSet>& clusters,
                           const array<vector>& means, double tolerance, int verbosity,
                           std::ostream& out) {
  progress_line(out, verbosity, "computing score...");
  progress_line(out, verbosity, "init new clusters");
  const int k = clusters.size();
  tBisection result{array<tTaxaSet>(2 * k), array<int>(data.dim1()), array<vector>(2 * k)};
  // The clusters split side by side, each into its own two groups; the labels and reports
  // follow in cluster order.
  parallel_for(k, [&](int i) {
    if (clusters[i].empty()) return;
    array<tTaxaSet> halves(2);
    array<vector> half_means(2);
    half_means[0] = vector(data.dim2());
    half_means[1] = vector(data.dim2());
    split_by_sign(data, clusters[i], means[i], halves, half_means);
    kmeans(data, halves, half_means, tolerance);
    for (int side = 0; side < 2; ++side) {
      if (halves[side].empty()) half_means[side] = vector(data.dim2());
      result.split_clusters[2 * i + side] = halves[side];
      result.half_means[2 * i + side] = half_means[side];
    }
  });
  for (int i = 0; i < k; ++i) {
    if (clusters[i].empty()) continue;
    for (int group = 2 * i; group < 2 * i + 2; ++group) {
      const tTaxaSet& members = result.split_clusters[group];
      for (tItem it = members.first_item(); it != 0; it = members.next_item(it))
        result.half_labels[members.inf(it)] = group;
    }
    if (verbosity >= 1)
      write_bisection_block(out, i, result.split_clusters, result.half_means, names);
  }
  return result;
}

void write_bisection_block(std::ostream& out, int i, const array<tTaxaSet>& groups,
                           const array<vector>& group_means, const tNames& names) {
  out << "# BEGIN DIAM\n";
  for (int group = 2 * i; group < 2 * i + 2; ++group)
    write_group(out, group, groups[group], group_means[group], names);
  out << "END DIAM\n";
}
