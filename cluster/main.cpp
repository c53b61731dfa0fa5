// The clusterer: one run from the command line through clustering and bisection to the reports.
#include <iostream>

#include "algorithms/sqkmeans.hpp"
#include "cluster/bisection.hpp"
#include "cluster/heatmap.hpp"
#include "cluster/html_report.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/options.hpp"
#include "cluster/progress.hpp"
#include "cluster/restarts.hpp"
#include "cluster/results_table.hpp"
#include "cluster/run_record.hpp"
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

// What the report shows of the settings and the input, as far as this run knows them.
tRunRecord run_record(const tOptions& options, int argc, const char** argv, int rows) {
  tRunRecord record;
  record.command_line = command_line_of(argc, argv);
  record.input.name = options.simulate ? "simulated" : options.input_name.c_str();
  record.input.format = options.simulate ? "simulated" : "matrix";
  record.input.rows_read = record.input.rows_kept = rows;
  record.num_clusters = options.num_clusters;
  record.t1 = options.t1;
  record.t2 = options.t2;
  record.normalized = options.normalize != 0;
  return record;
}

void write_pictures(const tOptions& options, const tRunRecord& record,
                    const tFinishedClustering& clustering) {
  if (options.heatmap_stream) {
    write_heatmap_file(*options.heatmap_stream, clustering, row_scores(clustering),
                       record.input.column_names);
    check_written(*options.heatmap_stream, options.heatmap_name);
  }
  if (options.report_stream) {
    write_html_report(*options.report_stream, record, clustering);
    check_written(*options.report_stream, options.report_name);
  }
}

}  // namespace

int main(int argc, const char** argv) {
  tOptions options;
  options.parse_command_line(argc, argv);
  const int k = options.num_clusters;
  const int verbosity = options.verbosity;
  std::ostream& out = std::cout;
  tStartsRecord starts;
  starts.seed = run_seed(options);

  tTruth truth;
  tExpressionData input = options.simulate ? simulated_data(options, starts.seed, out, truth)
                                           : read_expression_matrix(options.ins(), verbosity, out);
  matrix& data = input.data;
  const int rows = data.dim1();
  if (options.permute && !options.simulate) {
    random_source row_draws = seeded_source(starts.seed, tRandomUse::permute_rows, 0, rows - 1);
    random_source col_draws =
        seeded_source(starts.seed, tRandomUse::permute_columns, 0, data.dim2() - 1);
    permute_entries(data, row_draws, col_draws);
  }
  if (options.random_cluster) {
    random_source group_draws =
        seeded_source(starts.seed, tRandomUse::random_grouping, 0, 2 * k - 1);
    random_grouping(rows, k, group_draws, out);
  }
  if (options.normalize) normalize_rows(data);

  out << "start of algorithm\n";
  tStart start = best_start(data, options, starts, out, [&](const array<int>& assignment) {
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
  if (options.heatmap_stream || options.report_stream) {
    tRunRecord record = run_record(options, argc, argv, rows);
    record.seed = starts.seed;
    record.restart_objectives = starts.start_objectives;
    // The objective of every k-svd pass: only the final one is known here.
    record.pass_objectives = {start.objective};
    write_pictures(options, record,
                   {data, input.names, clusters, means, bisection.split_clusters});
  }
  if (options.simulate) write_final_listing(out, bisection.split_clusters);
  check_written(out, "stdout");  // the reports: lost output must not end with status 0
  return 0;
}
