// From the options to the consensus outputs.
#include "cluster/consensus/consensus_program.hpp"

#include <iostream>

#include "cluster/consensus/consensus_outputs.hpp"
#include "cluster/consensus/consensus_report.hpp"
#include "cluster/consensus/counts_file.hpp"
#include "cluster/input/expression_data.hpp"
#include "cluster/options.hpp"
#include "io/output_file.hpp"
#include "lib/diagnostics.hpp"
#include "lib/terminal_progress.hpp"

namespace {

std::vector<std::string> row_names(const tExpressionData& input) {
  std::vector<std::string> names;
  for (int i = 0; i < input.data.dim1(); ++i) names.push_back(input.names.get_name(i).c_str());
  return names;
}

// Each output is written whole once the runs are done, so a failed run changes no file.
void commit(const std::optional<std::string>& name,
            const std::function<void(std::ostream&)>& write) {
  if (!name) return;
  tOutputFile file{string(name->c_str())};
  write(file.stream());
  file.commit();
}

void commit(tOutputFile* file, const std::function<void(std::ostream&)>& write) {
  if (!file) return;
  write(file->stream());
  file->commit();
}

void write_consensus_outputs(const tRunOptions& options, tOutputFile* report,
                             const std::vector<std::string>& names, const tConsensusDesign& design,
                             const tPairCounts& counts) {
  const tConsensusOptions& c = options.consensus;
  if (!c.table_file && !c.labels_file && !report) return;
  const std::vector<tConsensusOfK> results =
      consensus_results(counts, design, c.pac_low, c.pac_high);
  const int runs = design.end_run - design.first_run;
  commit(c.table_file, [&](std::ostream& os) { write_consensus_table(os, results, runs); });
  commit(c.labels_file, [&](std::ostream& os) { write_consensus_labels(os, names, results); });
  commit(report, [&](std::ostream& os) {
    write_consensus_report(os, {input_label(options), design, names, results, counts});
  });
}

}  // namespace

tConsensusDesign command_line_design(const tRunOptions& options, std::uint64_t seed) {
  const tConsensusOptions& c = options.consensus;
  tConsensusDesign design;
  design.runs = c.runs;
  const int k = options.clustering.num_clusters;
  design.k_first = c.k_given ? c.k_first : k;
  design.k_last = c.k_given ? c.k_last : k;
  design.row_fraction = c.row_fraction;
  design.column_fraction = c.column_fraction;
  design.seed = seed;
  design.normalize = options.clustering.normalize;
  design.t1 = options.clustering.t1;
  design.t2 = options.clustering.t2;
  design.first_run = c.runs_range_given ? c.first_run : 0;
  design.end_run = c.runs_range_given ? c.end_run : c.runs;
  return design;
}

void run_consensus(const tRunOptions& options, tOutputFile* report, const tExpressionData& input,
                   std::uint64_t seed, const tResampleClusterer& clusterer) {
  const tConsensusOptions& c = options.consensus;
  const std::vector<std::string> names = row_names(input);
  const matrix& data = input.data;
  if (!c.merge_files.empty()) {
    tMergedCounts merged = merge_counts_files(c.merge_files, names, data.dim2());
    write_consensus_outputs(options, report, names, merged.design, merged.counts);
    return;
  }
  const tConsensusDesign design = command_line_design(options, seed);
  const std::string fault = design_fault(design, data.dim1(), data.dim2());
  if (!fault.empty()) usage("%s", fault.c_str());
  // A run can take minutes: a terminal sees how many are done.
  tTerminalProgress progress("consensus runs", design.end_run - design.first_run);
  const tPairCounts counts =
      count_runs(data, design, clusterer, [&](int, int) { progress.advance(); });
  commit(c.counts_file, [&](std::ostream& os) {
    write_counts_file(os, {design, data.dim1(), data.dim2()}, names, counts);
  });
  write_consensus_outputs(options, report, names, design, counts);
}
