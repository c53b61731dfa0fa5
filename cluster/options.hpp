// The clusterer's command line: one table of options drives parsing, checking and the help, and
// the run's settings come out as small records, one per phase.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "cluster/clustering.hpp"
#include "cluster/consensus/consensus_options.hpp"
#include "cluster/input/read_settings.hpp"

// The simulated data and the perturbations of read data.
struct tSimulationSettings {
  bool simulate = false;
  int columns = 10;  // dimension of simulated data
  double noise = 0.001;
  bool permute = false;         // shuffle the entries of read data
  bool random_cluster = false;  // print a random grouping of the rows
};

// The files a run writes, each absent when not named.
struct tOutputNames {
  std::optional<std::string> groups;    // -o: group label file
  std::optional<std::string> clusters;  // -o2: cluster label file
  std::optional<std::string> starts;    // -o3: where -init_clusters_out writes
  std::optional<std::string> table, heatmap, report;
};

// What the reports print beyond the labels.
struct tReportSettings {
  bool scores = false;       // -scores
  bool write_start = false;  // -init_clusters_out
  int verbosity = 0;         // 1 reports, 2 settings, 3, 4 progress
};

struct tRunOptions {
  std::optional<std::string> input;   // -i: a file; absent or "-": standard input
  std::optional<std::string> input2;  // -i2: opened, and named in the reports instead of -i
  std::optional<std::string> init_clusters;
  tReadSettings reading;  // -center and -zscore among them
  // The seed is the run's (see run_seed); initial_assignment is read from init_clusters.
  tClusteringSettings clustering;
  std::optional<std::uint64_t> seed;  // -seed
  int threads = 0;                    // 0 uses every core
  tSimulationSettings simulation;
  tOutputNames outputs;
  tReportSettings reports;
  tConsensusOptions consensus;  // -consensus B and its companions, or -merge_counts
};

// The run's options from the arguments. -h, -help or --help anywhere writes the help to standard
// error and ends with status 0. A command line the program cannot run (an unknown word, a
// missing value, a value that does not convert in full, is out of range or no choice, an option
// given twice, a conflicting pair, an output that is an input or another output) ends with status
// 2 through misuse(): one line naming the option and what it accepts, before any file is read or
// written. Both ends leave through fatal_exit.
tRunOptions parse_command_line(int argc, const char** argv);

// The banner, what the program does, and every option with its value, meaning and default.
void write_help(std::ostream& os);

// The name the reports give the input: the -i2 file, else the -i file, else "stdin".
std::string input_label(const tRunOptions& options);
