// The clusterer: one run from the command line through clustering and bisection to the reports.
#include <iostream>

#include "cluster/bisection.hpp"
#include "cluster/input/matrix_input.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/label_files.hpp"
#include "cluster/options.hpp"
#include "cluster/progress.hpp"
#include "cluster/restarts.hpp"
#include "cluster/results_table.hpp"
#include "cluster/run_outputs.hpp"
#include "cluster/run_seed.hpp"
#include "cluster/scores_report.hpp"
#include "cluster/synthetic_data.hpp"
#include "lib/parallel.hpp"
#include "lib/random_source.hpp"

namespace {

tExpressionData simulated_data(const tOptions& options, std::uint64_t seed, std::ostream& out,
                               tTruth& truth) {
  random_source draws = seeded_source(seed, tRandomUse::simulation);  // doubles in [0, 1]
  return simulate_data(options.num_clusters, options.columns, options.noise, draws,
                       options.verbosity, out, truth);
}

tReadSettings read_settings(const tOptions& options) {
  tReadSettings settings;
  format_named(options.format.c_str(), settings.format);
  missing_policy_named(options.missing.c_str(), settings.missing);
  settings.log2 = options.log2 != 0;
  settings.top = options.top;
  settings.center = options.center != 0;
  settings.zscore = options.zscore != 0;
  settings.verbosity = options.verbosity;
  return settings;
}

}  // namespace

int main(int argc, const char** argv) {
  tOptions options;
  options.parse_command_line(argc, argv);
  set_thread_count(options.threads);
  const int k = options.num_clusters;
  const int verbosity = options.verbosity;
  std::ostream& out = std::cout;
  tStartsRecord starts;
  starts.seed = run_seed(options);

  tTruth truth;
  tExpressionData input = options.simulate ? simulated_data(options, starts.seed, out, truth)
                                           : read_prepared_data(options.ins(), options.input_name,
                                                                read_settings(options), out);
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
    finish_output(options.out3_stream, options.outs3(), options.outs3_name());
  });
  const array<tTaxaSet>& clusters = start.clusters;
  const array<vector>& means = start.means;
  out << "Objective function = " << start.objective << '\n';
  if (options.simulate) write_comparison_report(out, data, clusters, truth);
  if (options.scores) write_scores_report(out, data, clusters, means, start.objective);

  if (options.out2_stream) {
    write_label_file(options.outs2(), cluster_labels(clusters, rows));
    finish_output(options.out2_stream, options.outs2(), options.outs2_name());
  }

  const tBisection bisection =
      bisect_clusters(data, input.names, clusters, means, options.t2, verbosity, out);
  // A file named "stdout" is opened, and left empty, but never written.
  if (options.output_name != "stdout") write_label_file(options.outs(), bisection.half_labels);
  if (options.output_name != "stdout" || options.out_stream)
    finish_output(options.out_stream, options.outs(), options.outs_name());
  if (options.table_stream) {
    write_results_table(options.table_stream->stream(), data, input.names, clusters, means,
                        bisection);
    options.table_stream->commit();
  }
  progress_line(out, verbosity, "computing score...");
  if (options.heatmap_stream || options.report_stream) {
    tRunRecord record = run_record(options, argc, argv, input, starts);
    record.pass_objectives = start.pass_objectives;
    write_pictures(options, record, {data, input.names, clusters, means, bisection.split_clusters});
  }
  if (options.simulate) write_final_listing(out, bisection.split_clusters);
  check_written(out, "stdout");  // the reports: lost output must not end with status 0
  return 0;
}
