// The clusterer: one run from the command line through clustering and bisection to the reports.
#include <iostream>

#include "cluster/clustering.hpp"
#include "cluster/consensus/consensus_program.hpp"
#include "cluster/consensus/resample_clusterer.hpp"
#include "cluster/input/matrix_input.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/label_files.hpp"
#include "cluster/options.hpp"
#include "cluster/progress.hpp"
#include "cluster/report/results_table.hpp"
#include "cluster/report/run_outputs.hpp"
#include "cluster/report/scores_report.hpp"
#include "cluster/run_files.hpp"
#include "cluster/run_seed.hpp"
#include "cluster/synthetic_data.hpp"
#include "cluster/version.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"
#include "lib/random_source.hpp"

namespace {

tExpressionData simulated_data(const tRunOptions& options, std::uint64_t seed, std::ostream& out,
                               tTruth& truth) {
  random_source draws = seeded_source(seed, tRandomUse::simulation);  // doubles in [0, 1]
  const tSimulationSettings& simulation = options.simulation;
  return simulate_data(options.clustering.num_clusters, simulation.columns, simulation.noise, draws,
                       options.reports.verbosity, out, truth);
}

bool draws_random_numbers(const tRunOptions& options) {
  return !options.init_clusters || options.simulation.simulate || options.simulation.permute ||
         options.simulation.random_cluster;
}

// The verbosity 1 and 2 lines on standard error, once the files are open.
void write_settings_report(const tRunOptions& options) {
  const int verbosity = options.reports.verbosity;
  if (verbosity >= 1) std::cerr << "# " << version() << '\n';
  if (verbosity < 2) return;
  std::cerr << "# Input: " << input_label(options) << '\n';
  std::cerr << "# Output: " << options.outputs.groups.value_or("stdout") << '\n';
}

// The rows arrive normalized already: the reports read the same rows the clustering saw.
tClusteringSettings clustering_settings(const tRunOptions& options, std::uint64_t seed, int rows) {
  tClusteringSettings settings = options.clustering;
  settings.normalize = false;
  settings.seed = seed;
  settings.score = options.reports.scores;
  if (options.init_clusters) {
    const array<int> given = read_initial_assignment(string(options.init_clusters->c_str()), rows,
                                                     settings.num_clusters);
    settings.initial_assignment.assign(given.begin(), given.end());
  }
  return settings;
}

// What the program prints while the clustering runs: progress, the kept start, and the reports
// on the k clusters before they are bisected.
class tProgramObserver : public tClusteringObserver {
 public:
  tProgramObserver(const tRunOptions& options, tRunFiles& files, const tExpressionData& input,
                   const tTruth& truth)
      : options_(options), files_(files), input_(input), truth_(truth) {}
  std::ostream* progress() override { return &std::cout; }
  int verbosity() const override { return options_.reports.verbosity; }
  const tNames* names() const override { return &input_.names; }
  std::ostream* notes() override { return &std::cerr; }

  void kept_start(const array<int>& assignment) override {
    if (!options_.reports.write_start) return;
    write_initial_assignment(tRunFiles::stream_of(files_.starts), assignment);
    finish_output(files_.starts);
  }

  void clustered(const tClusteringResult& result) override {
    std::ostream& out = std::cout;
    const matrix& data = input_.data;
    out << "Objective function = " << result.objective << '\n';
    if (options_.simulation.simulate) write_comparison_report(out, data, result.clusters, truth_);
    if (options_.reports.scores)
      write_scores_report(out, data, result.clusters, result.means, result.objective,
                          result.scores);
    if (files_.clusters) {
      write_label_file(files_.clusters->stream(), cluster_labels(result.clusters, data.dim1()));
      files_.clusters->commit();
    }
  }

 private:
  const tRunOptions& options_;
  tRunFiles& files_;
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
  const tRunOptions options = parse_command_line(argc, argv);
  tRunFiles files(options);
  const int verbosity = options.reports.verbosity;
  messages(verbosity != 0);
  write_settings_report(options);
  set_thread_count(options.threads);
  const int k = options.clustering.num_clusters;
  std::ostream& out = std::cout;
  const std::uint64_t seed = run_seed(options.seed, draws_random_numbers(options), verbosity);

  const bool simulate = options.simulation.simulate;
  tTruth truth;
  tExpressionData input =
      simulate ? simulated_data(options, seed, out, truth)
               : read_prepared_data(files.input(), string(input_label(options).c_str()),
                                    options.reading, out);
  matrix& data = input.data;
  if (options.consensus.active()) {
    run_consensus(options, files.report.get(), input, seed,
                  resample_clusterer(command_line_design(options, seed)));
    check_written(out, "stdout");
    return 0;
  }
  const int rows = data.dim1();
  if (k > rows)
    warning("-num_clusters %d is above the %d rows: clusters without rows follow", k, rows);
  // Shuffled entries do not sit where the input lacked values: the pictures then draw no mask.
  if (options.simulation.permute && !simulate) {
    random_source row_draws = seeded_source(seed, tRandomUse::permute_rows, 0, rows - 1);
    random_source col_draws = seeded_source(seed, tRandomUse::permute_columns, 0, data.dim2() - 1);
    permute_entries(data, row_draws, col_draws);
  }
  if (options.simulation.random_cluster) {
    random_source group_draws = seeded_source(seed, tRandomUse::random_grouping, 0, 2 * k - 1);
    random_grouping(rows, k, group_draws, out);
  }
  if (options.clustering.normalize) normalize_rows(data);

  out << "start of algorithm\n";
  tProgramObserver observer(options, files, input, truth);
  const tClusteringSettings settings = clustering_settings(options, seed, rows);
  const tClusteringResult result = cluster_rows(data, settings, observer);

  // A file named "stdout" is opened, and left empty, but never written.
  const bool groups_to_stdout = options.outputs.groups.value_or("stdout") == "stdout";
  if (!groups_to_stdout) write_label_file(files.groups->stream(), as_array(result.groups));
  if (!groups_to_stdout || files.groups) finish_output(files.groups);
  if (files.table) {
    write_results_table(files.table->stream(), data, input.names, result);
    files.table->commit();
  }
  progress_line(out, verbosity, "computing score...");
  if (files.heatmap || files.report)
    write_pictures(
        files.heatmap.get(), files.report.get(),
        run_record(command_line_of(argc, argv), simulate ? "simulated" : input_label(options),
                   input, settings, options.clustering.normalize, result),
        {data, input.names, result.clusters, result.means, result.halves,
         options.simulation.permute ? nullptr : &input.missing});
  if (simulate) write_final_listing(out, result.halves);
  check_written(out, "stdout");  // the reports: lost output must not end with status 0
  return 0;
}
