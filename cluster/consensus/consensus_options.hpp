// The command-line options of a consensus run and their checks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "io/path_guard.hpp"

struct tConsensusOptions {
  int runs = 0;  // -consensus B
  bool runs_given = false;
  int k_first = 0, k_last = 0;                     // -k_range K1..K2; 0: -num_clusters alone
  double row_fraction = 0.8;                       // -resample_rows f
  double column_fraction = 1.0;                    // -resample_columns g
  double pac_low = 0.1, pac_high = 0.9;            // -pac u1,u2
  int first_run = 0, end_run = 0;                  // -consensus_runs A..B; 0..0: every run
  std::vector<std::string> merge_files;            // -merge_counts F1 F2 ...
  bool k_given = false, runs_range_given = false;  // -k_range, -consensus_runs
  bool draw_given = false;                         // -resample_rows or -resample_columns
  bool pac_given = false;                          // -pac
  std::optional<std::string> table_file, labels_file, counts_file;

  bool active() const { return runs_given || !merge_files.empty(); }
};

// The options a consensus run takes; option is one of them.
bool is_consensus_option(const char* option);

// Takes the words after option (one, or the files of -merge_counts). A word that does not
// convert ends the run through misuse() (status 2), naming the option and what it accepts.
void take_consensus_option(tConsensusOptions& options, const char* option,
                           const std::vector<std::string>& words);

// Ends the run through misuse() when the options do not make one consensus run: a companion
// without -consensus or -merge_counts, both of them, a bad range, -merge_counts without -i
// (input_named), or another run's option (other_option, "" when none) beside them.
void check_consensus_options(const tConsensusOptions& options, bool input_named,
                             const std::string& other_option);

// The files the options name, for the check that no output replaces an input or another output.
std::vector<tNamedFile> consensus_named_files(const tConsensusOptions& options);
