// Simulation, permutation, random grouping and the comparison reports of simulated runs.
#include "cluster/synthetic_data.hpp"

#include <cstdint>
#include <ostream>

#include "algorithms/products.hpp"
#include "cluster/input/matrix_fits.hpp"
#include "cluster/limits.hpp"
#include "cluster/progress.hpp"

namespace {

double draw(random_source& draws) {
  double x = 0;
  draws >> x;
  return x;
}

// A random direction: uniform magnitudes with random signs, scaled to unit length.
vector random_unit_direction(int d, random_source& draws) {
  vector v(d);
  for (int j = 0; j < d; ++j) {
    v[j] = draw(draws);
    if (draw(draws) < 0.5) v[j] = -v[j];
  }
  return v / v.length();
}

// One line: each member's product with the true mean that mean_of(member) names.
template <class MeanOf>
void write_products(std::ostream& out, const matrix& data, const tTaxaSet& cluster,
                    const array<vector>& true_means, MeanOf mean_of) {
  for (tItem it = cluster.first_item(); it != 0; it = cluster.next_item(it)) {
    const int r = cluster.inf(it);
    out << dot_prod(data.row(r), true_means[mean_of(r)]) << ' ';
  }
  out << '\n';
}

}  // namespace

tExpressionData simulate_data(int k, int d, double noise, random_source& draws, int verbosity,
                              std::ostream& out, tTruth& truth) {
  const int rows = rows_per_simulated_cluster * k;
  require_matrix_fits(rows, d);
  tExpressionData simulated;
  simulated.data = matrix(rows, d);
  simulated.format = "simulated";
  simulated.rows_read = rows;
  truth.means = array<vector>(k);
  truth.clusters = array<tTaxaSet>(k);

  progress_line(out, verbosity, "generating random means");
  for (int i = 0; i < k; ++i) truth.means[i] = random_unit_direction(d, draws);

  progress_line(out, verbosity, "generating perturbed data");
  for (int i = 0; i < k; ++i) {
    const vector& mean = truth.means[i];
    for (int p = 0; p < rows_per_simulated_cluster; ++p) {
      const int r = rows_per_simulated_cluster * i + p;
      const bool positive = draw(draws) < 0.5;
      double* row = simulated.data.data() + static_cast<std::size_t>(r) * d;
      for (int j = 0; j < d; ++j) row[j] = positive ? mean[j] + noise : -mean[j] - noise;
      simulated.names.insert(r, "x");
      truth.clusters[i].insert(r);
    }
  }
  out << "Ideal obj value = " << ideal_objective(simulated.data, truth) << '\n';
  return simulated;
}

double ideal_objective(const matrix& data, const tTruth& truth) {
  double sum = 0.0;
  for (int i = 0; i < truth.clusters.size(); ++i) {
    const tTaxaSet& cluster = truth.clusters[i];
    for (tItem it = cluster.first_item(); it != 0; it = cluster.next_item(it))
      sum += dot_prod2(truth.means[i], data.row(cluster.inf(it)));
  }
  return sum;
}

void permute_entries(matrix& data, random_source& row_draws, random_source& col_draws) {
  const int cols = data.dim2();
  const std::int64_t exchanges = static_cast<std::int64_t>(data.dim1()) * cols * 5000;
  double* entries = data.data();
  for (std::int64_t n = 0; n < exchanges; ++n) {
    const int r1 = row_draws();
    const int r2 = row_draws();
    const int c1 = col_draws();
    const int c2 = col_draws();
    double& a = entries[static_cast<std::size_t>(r1) * cols + c1];
    double& b = entries[static_cast<std::size_t>(r2) * cols + c2];
    const double held = a;
    a = b;
    b = held;
  }
}

void random_grouping(int rows, int k, random_source& draws, std::ostream& out) {
  array<tTaxaSet> groups(2 * k);
  for (int r = 0; r < rows; ++r) groups[draws()].insert(r);
  for (int g = 0; g < 2 * k; ++g) out << g << ' ' << groups[g] << '\n';
}

void write_comparison_report(std::ostream& out, const matrix& data, const array<tTaxaSet>& clusters,
                             const tTruth& truth) {
  out << "comparison of k-svd and random : \n";
  for (int i = 0; i < clusters.size(); ++i) {
    out << "k-svd clusters = " << clusters[i] << '\n';
    out << "true clusters = " << truth.clusters[i] << '\n';
    write_products(out, data, clusters[i], truth.means,
                   [](int r) { return r / rows_per_simulated_cluster; });
    write_products(out, data, clusters[i], truth.means, [i](int) { return i; });
  }
}

void write_final_listing(std::ostream& out, const array<tTaxaSet>& split_clusters) {
  out << "clusters after kmeans are : \n";
  for (const tTaxaSet& group : split_clusters) out << group << '\n';
}
