// The command-line options of a consensus run and their checks.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "io/output_file.hpp"
#include "io/path_guard.hpp"

struct tConsensusOptions {
  int runs = 0;  // -consensus B
  bool runs_given = false;
  int k_first = 0, k_last = 0;           // -k_range K1..K2; 0: -num_clusters alone
  double row_fraction = 0.8;             // -resample_rows f
  double column_fraction = 1.0;          // -resample_columns g
  double pac_low = 0.1, pac_high = 0.9;  // -pac u1,u2
  int first_run = 0, end_run = 0;        // -consensus_runs A..B; 0..0: every run
  std::vector<std::string> merge_files;  // -merge_counts F1 F2 ...
  bool draw_given = false;               // -resample_rows, -resample_columns or -pac
  // The files as named; opened only once the whole command line is accepted.
  std::optional<std::string> table_file, labels_file, counts_file;
  std::unique_ptr<tOutputFile> table, labels, counts;

  bool active() const { return runs_given || !merge_files.empty(); }
};

// Takes the consensus options out of the command line. A value that does not parse ends the
// run through usage() (one line, status 1).
void read_consensus_options(int argc, const char** argv, tConsensusOptions& options);

// Ends the run through usage() when the options do not make one consensus run: a companion
// without -consensus or -merge_counts, both of them, a bad range or fraction, -merge_counts
// without -i (input_named), or another run's option (other_option, "" when none) beside them.
void check_consensus_options(const tConsensusOptions& options, bool input_named,
                             const std::string& other_option);

void open_consensus_files(tConsensusOptions& options);

// The files the options name, for the check that no output replaces an input or another output.
std::vector<tNamedFile> consensus_named_files(const tConsensusOptions& options);
