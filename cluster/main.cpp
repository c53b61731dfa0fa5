// The clusterer: one run from the command line through clustering and bisection to the reports.
#include <iostream>

#include "algorithms/sqkmeans.hpp"
#include "cluster/bisection.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/options.hpp"
#include "cluster/progress.hpp"
#include "cluster/restarts.hpp"
#include "cluster/results_table.hpp"
#include "cluster/run_seed.hpp"
#include "cluster/scores_report.hpp"
#include "cluster/synthetic_data.hpp"
#include "lib/random_source.hpp"

namespace {

tExpressionData simulated_data(const tOptions& options, std::uint64_t seed, std::ostream& out,
                               tTruth& truth) {
  random_source draws = seeded_source(seed, tRandomUse::simulation);  // doubles in [0, 1]
  return simulate_data(options.num_clusters, options.columns, options.noise, draws,
                       options.verbosity, out, truth);
}

}  // namespace

int main(int argc, const char** argv) {
  tOptions options;
  options.parse_command_line(argc, argv);
  const int k = options.num_clusters;
  const int verbosity = options.verbosity;
  std::ostream& out = std::cout;
  tRunRecord record;
  record.seed = run_seed(options);

  tTruth truth;
  tExpressionData input = options.simulate ? simulated_data(options, record.seed, out, truth)
                                           : read_expression_matrix(options.ins(), verbosity, out);
  matrix& data = input.data;
  const int rows = data.dim1();
  if (options.permute && !options.simulate) {
    random_source row_draws = seeded_source(record.seed, tRandomUse::permute_rows, 0, rows - 1);
    random_source col_draws =
        seeded_source(record.seed, tRandomUse::permute_columns, 0, data.dim2() - 1);
    permute_entries(data, row_draws, col_draws);
  }
  if (options.random_cluster) {
    random_source group_draws =
        seeded_source(record.seed, tRandomUse::random_grouping, 0, 2 * k - 1);
    random_grouping(rows, k, group_draws, out);
  }
  if (options.normalize) normalize_rows(data);

  out << "start of algorithm\n";
  tStart start = best_start(data, options, record, out, [&](const array<int>& assignment) {
    if (!options.init_clusters_out) return;
    write_initial_assignment(options.outs3(), assignment);
    check_written(options.outs3(), options.outs3_name());
  });
  const array<tTaxaSet>& clusters = start.clusters;
  const array<vector>& means = start.means;
  out << "Objective function = " << start.objective << '\n';
  if (options.simulate) write_comparison_report(out, data, clusters, truth);
  if (options.scores) write_scores_report(out, data, clusters, means, start.objective);

  if (options.out2_stream) {
    write_label_file(options.outs2(), cluster_labels(clusters, rows));
    check_written(options.outs2(), options.outs2_name());
  }

  const tBisection bisection =
      bisect_clusters(data, input.names, clusters, means, options.t2, verbosity, out);
  if (options.output_name != "stdout") {
    write_label_file(options.outs(), bisection.half_labels);
    check_written(options.outs(), options.outs_name());
  }
  if (options.table_stream) {
    write_results_table(*options.table_stream, data, input.names, clusters, means, bisection);
    check_written(*options.table_stream, options.table_name);
  }
  progress_line(out, verbosity, "computing score...");
  if (options.simulate) write_final_listing(out, bisection.split_clusters);
  check_written(out, "stdout");  // the reports: lost output must not end with status 0
  return 0;
}
