// Run settings of the clusterer: defaults, the command-line parser and the run's file streams.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "io/input_file.hpp"
#include "io/output_file.hpp"
#include "lib/string.hpp"

class tOptions {
 public:
  tOptions();   // every field at its default
  ~tOptions();  // closes the streams in the order in, in2, out, out2, out3, heatmap, report
  tOptions(const tOptions&) = delete;
  tOptions& operator=(const tOptions&) = delete;

  // Fills the record from the arguments, checks the values, then opens the named files; may end
  // the process (status 0 for --help, 2 for unknown arguments and misused run options before
  // any file is touched, 1 for bad files or values).
  void parse_command_line(int argc, const char** argv);

  void report() const;  // "# Input: " and "# Output: " lines on standard error
  // Banner, usage text and the option list on standard error, then exit with status.
  [[noreturn]] void usage(int status = 0) const;

  std::istream& ins() const;    // -i file, otherwise standard input
  std::istream& ins2() const;   // -i2 file, otherwise standard input
  std::ostream& outs() const;   // -o file, otherwise standard output
  std::ostream& outs2() const;  // -o2 file, otherwise standard output
  std::ostream& outs3() const;  // -o3 file, otherwise standard output

  // The name of the file behind outs(), outs2() and outs3(), "stdout" for standard output.
  const string& outs_name() const;
  const string& outs2_name() const;
  const string& outs3_name() const;

  // The pictures: -heatmap FILE.svg and -report FILE.html, each opened only when named.
  std::unique_ptr<tOutputFile> heatmap_stream;
  std::unique_ptr<tOutputFile> report_stream;
  string heatmap_name;
  string report_name;

  int verbosity = 0;
  string input_name = "stdin";    // a label for the report; the streams decide where data go
  string output_name = "stdout";  // the group label file is written only when this differs
  int num_clusters = 5;
  int t1 = 20;        // steps of the principal direction iteration
  double t2 = 0.001;  // stopping tolerance of both clustering loops
  int normalize = 0;
  int simulate = 0;
  int columns = 10;  // dimension of simulated data
  double noise = 0.001;
  int compare_function = 0;  // accepted, consulted by nothing
  int random_cluster = 0;
  int permute = 0;
  int do_data = 0;  // accepted, consulted by nothing
  int init_clusters_out = 0;
  string init_clusters = "";  // initial-assignment file; empty means a random start
  // Reproducible runs and readable results.
  std::uint64_t seed = 0;  // -seed: the run seed, when seed_given
  bool seed_given = false;
  int restarts = 1;                           // random starts; the largest objective wins
  int threads = 0;                            // -threads: 0 uses every core the process may
  int scores = 0;                             // -scores: the quality report after the objective
  std::unique_ptr<tOutputFile> table_stream;  // -table: the results table, when given
  string table_name = "";
  // Reading and preparing the expression data.
  string format = "auto";   // -format: auto, matrix, tsv, csv, gct, pcl
  string missing = "zero";  // -missing: zero, rowmean, drop
  int log2 = 0;             // -log2: log2(x + 1)
  int top = 0;              // -top N: the N rows of largest variance; 0 keeps all
  int center = 0;           // -center: subtract each row's mean
  int zscore = 0;           // -zscore: and divide by its standard deviation
  std::unique_ptr<tOutputFile> out2_stream;
  std::unique_ptr<tOutputFile> out3_stream;
  std::unique_ptr<tInputFile> in_stream;
  std::unique_ptr<tInputFile> in2_stream;
  std::unique_ptr<tOutputFile> out_stream;

 private:
  void read_file_names(int argc, const char** argv);
  void guard_files() const;  // no output replaces an input or another output
  void open_files();
  void read_values(int argc, const char** argv);
  void read_run_options(int argc, const char** argv);
  void reject_unknown_arguments(int argc, const char** argv) const;
  void check_values() const;
  void check_run_options() const;
  // "Error: " and why on standard error, then the usage text; status 2.
  [[noreturn]] void reject(const std::string& why) const;

  // The file options as given, opened only once the whole command line has been accepted.
  std::optional<string> in_file_, in2_file_, out_file_, out2_file_, out3_file_, table_file_;
  std::optional<string> heatmap_file_, report_file_;
  bool restarts_given_ = false;

  string output2_name_ = "stdout";
  string output3_name_ = "stdout";
  bool top_given_ = false;
};
