// The clusterer: one run from the command line through clustering and bisection to the reports.
#include <iostream>

#include "cluster/clustering.hpp"
#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/options.hpp"
#include "cluster/preparation.hpp"
#include "cluster/progress.hpp"
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
  settings.verbosity = options.verbosity;
  return settings;
}

// Read data: -center or -zscore, else a warning when the signs cannot split anything.
void prepare(matrix& data, const tOptions& options) {
  if (options.center) center_rows(data);
  if (options.zscore) zscore_rows(data);
  if (!options.center && !options.zscore) warn_if_nonnegative(data);
}

// The rows arrive normalized already: the reports read the same rows the clustering saw.
tClusteringSettings clustering_settings(const tOptions& options, std::uint64_t seed, int rows) {
  tClusteringSettings settings;
  settings.num_clusters = options.num_clusters;
  settings.t1 = options.t1;
  settings.t2 = options.t2;
  settings.restarts = options.restarts;
  settings.seed = seed;
  settings.score = options.scores != 0;
  if (!options.init_clusters.empty()) {
    const array<int> given =
        read_initial_assignment(options.init_clusters, rows, options.num_clusters);
    settings.initial_assignment.assign(given.begin(), given.end());
  }
  return settings;
}

// What the program prints while the clustering runs: progress, the kept start, and the reports
// on the k clusters before they are bisected.
class tProgramObserver : public tClusteringObserver {
 public:
  tProgramObserver(const tOptions& options, const tExpressionData& input, const tTruth& truth)
      : options_(options), input_(input), truth_(truth) {}
  std::ostream* progress() override { return &std::cout; }
  int verbosity() const override { return options_.verbosity; }
  const tNames* names() const override { return &input_.names; }
  std::ostream* notes() override { return &std::cerr; }

  void kept_start(const array<int>& assignment) override {
    if (!options_.init_clusters_out) return;
    write_initial_assignment(options_.outs3(), assignment);
    finish_output(options_.out3_stream, options_.outs3(), options_.outs3_name());
  }

  void clustered(const tClusteringResult& result) override {
    std::ostream& out = std::cout;
    const matrix& data = input_.data;
    out << "Objective function = " << result.objective << '\n';
    if (options_.simulate) write_comparison_report(out, data, result.clusters, truth_);
    if (options_.scores)
      write_scores_report(out, data, result.clusters, result.means, result.objective,
                          result.scores);
    if (options_.out2_stream) {
      write_label_file(options_.outs2(), cluster_labels(result.clusters, data.dim1()));
      finish_output(options_.out2_stream, options_.outs2(), options_.outs2_name());
    }
  }

 private:
  const tOptions& options_;
  const tExpressionData& input_;
  const tTruth& truth_;
};

array<int> as_array(const std::vector<int>& labels) {
  array<int> result(static_cast<int>(labels.size()));
  for (int r = 0; r < result.size(); ++r) result[r] = labels[r];
  return result;
}

}  // namespace

int main(int argc, const char** argv) {
  tOptions options;
  options.parse_command_line(argc, argv);
  set_thread_count(options.threads);
  const int k = options.num_clusters;
  const int verbosity = options.verbosity;
  std::ostream& out = std::cout;
  const std::uint64_t seed = run_seed(options);

  tTruth truth;
  tExpressionData input = options.simulate ? simulated_data(options, seed, out, truth)
                                           : read_expression_data(options.ins(), options.input_name,
                                                                  read_settings(options), out);
  matrix& data = input.data;
  if (!options.simulate) prepare(data, options);
  const int rows = data.dim1();
  if (options.permute && !options.simulate) {
    random_source row_draws = seeded_source(seed, tRandomUse::permute_rows, 0, rows - 1);
    random_source col_draws = seeded_source(seed, tRandomUse::permute_columns, 0, data.dim2() - 1);
    permute_entries(data, row_draws, col_draws);
  }
  if (options.random_cluster) {
    random_source group_draws = seeded_source(seed, tRandomUse::random_grouping, 0, 2 * k - 1);
    random_grouping(rows, k, group_draws, out);
  }
  if (options.normalize) normalize_rows(data);

  out << "start of algorithm\n";
  tProgramObserver observer(options, input, truth);
  const tClusteringResult result =
      cluster_rows(data, clustering_settings(options, seed, rows), observer);

  // A file named "stdout" is opened, and left empty, but never written.
  if (options.output_name != "stdout") write_label_file(options.outs(), as_array(result.groups));
  if (options.output_name != "stdout" || options.out_stream)
    finish_output(options.out_stream, options.outs(), options.outs_name());
  if (options.table_stream) {
    write_results_table(options.table_stream->stream(), data, input.names, result);
    options.table_stream->commit();
  }
  progress_line(out, verbosity, "computing score...");
  if (options.heatmap_stream || options.report_stream)
    write_pictures(options, run_record(options, argc, argv, input, result),
                   {data, input.names, result.clusters, result.means, result.halves});
  if (options.simulate) write_final_listing(out, result.halves);
  check_written(out, "stdout");  // the reports: lost output must not end with status 0
  return 0;
}
