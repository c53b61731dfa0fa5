// From the options to the consensus outputs.
#include "cluster/consensus/consensus_program.hpp"

#include <unistd.h>

#include <iostream>

#include "cluster/consensus/consensus_outputs.hpp"
#include "cluster/consensus/consensus_report.hpp"
#include "cluster/consensus/counts_file.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/options.hpp"
#include "lib/diagnostics.hpp"

namespace {

std::vector<std::string> row_names(const tExpressionData& input) {
  std::vector<std::string> names;
  for (int i = 0; i < input.data.dim1(); ++i) names.push_back(input.names.get_name(i).c_str());
  return names;
}

// Runs done, on standard error when it is a terminal: a run can take minutes.
tRunProgress terminal_progress() {
  if (!::isatty(STDERR_FILENO)) return nullptr;
  return [](int done, int total) {
    std::cerr << "\rconsensus runs: " << done << " of " << total << (done == total ? "\n" : "")
              << std::flush;
  };
}

void commit(std::unique_ptr<tOutputFile>& file, const std::function<void(std::ostream&)>& write) {
  if (!file) return;
  write(file->stream());
  file->commit();
}

void write_consensus_outputs(tOptions& options, const std::vector<std::string>& names,
                             const tConsensusDesign& design, const tPairCounts& counts) {
  tConsensusOptions& c = options.consensus;
  if (!c.table && !c.labels && !options.report_stream) return;
  const std::vector<tConsensusOfK> results =
      consensus_results(counts, design, c.pac_low, c.pac_high);
  const int runs = design.end_run - design.first_run;
  commit(c.table, [&](std::ostream& os) { write_consensus_table(os, results, runs); });
  commit(c.labels, [&](std::ostream& os) { write_consensus_labels(os, names, results); });
  commit(options.report_stream, [&](std::ostream& os) {
    write_consensus_report(os, {options.input_name.c_str(), design, names, results, counts});
  });
}

}  // namespace

tConsensusDesign command_line_design(const tOptions& options, std::uint64_t seed) {
  const tConsensusOptions& c = options.consensus;
  tConsensusDesign design;
  design.runs = c.runs;
  design.k_first = c.k_first > 0 ? c.k_first : options.num_clusters;
  design.k_last = c.k_first > 0 ? c.k_last : options.num_clusters;
  design.row_fraction = c.row_fraction;
  design.column_fraction = c.column_fraction;
  design.seed = seed;
  design.normalize = options.normalize != 0;
  design.t1 = options.t1;
  design.t2 = options.t2;
  design.first_run = c.end_run > 0 ? c.first_run : 0;
  design.end_run = c.end_run > 0 ? c.end_run : c.runs;
  return design;
}

void run_consensus(tOptions& options, const tExpressionData& input, std::uint64_t seed,
                   const tResampleClusterer& clusterer) {
  tConsensusOptions& c = options.consensus;
  const std::vector<std::string> names = row_names(input);
  const matrix& data = input.data;
  if (!c.merge_files.empty()) {
    tMergedCounts merged = merge_counts_files(c.merge_files, names, data.dim2());
    write_consensus_outputs(options, names, merged.design, merged.counts);
    return;
  }
  const tConsensusDesign design = command_line_design(options, seed);
  const std::string fault = design_fault(design, data.dim1(), data.dim2());
  if (!fault.empty()) usage("%s", fault.c_str());
  const tPairCounts counts = count_runs(data, design, clusterer, terminal_progress());
  commit(c.counts, [&](std::ostream& os) {
    write_counts_file(os, {design, data.dim1(), data.dim2()}, names, counts);
  });
  write_consensus_outputs(options, names, design, counts);
}
