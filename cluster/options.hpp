// Run settings of the clusterer: defaults, the command-line parser and the run's file streams.
#pragma once

#include <fstream>
#include <memory>

#include "cluster/output_file.hpp"
#include "lib/string.hpp"

class tOptions {
 public:
  tOptions();   // every field at its default
  ~tOptions();  // closes the streams in the order in, in2, out, out2, out3
  tOptions(const tOptions&) = delete;
  tOptions& operator=(const tOptions&) = delete;

  // Fills the record from the arguments, opens the named files, checks the values; may end
  // the process (status 0 for --help and unknown arguments, 1 for bad files or values).
  void parse_command_line(int argc, const char** argv);

  void report() const;              // "# Input: " and "# Output: " lines on standard error
  [[noreturn]] void usage() const;  // banner and usage text on standard error, then exit 0

  std::istream& ins() const;    // -i file, otherwise standard input
  std::istream& ins2() const;   // -i2 file, otherwise standard input
  std::ostream& outs() const;   // -o file, otherwise standard output
  std::ostream& outs2() const;  // -o2 file, otherwise standard output
  std::ostream& outs3() const;  // -o3 file, otherwise standard output

  // The name of the file behind outs(), outs2() and outs3(), "stdout" for standard output.
  const string& outs_name() const;
  const string& outs2_name() const;
  const string& outs3_name() const;

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
  // Reading and preparing the expression data.
  string format = "auto";    // -format: auto, matrix, tsv, csv, gct, pcl
  string missing = "zero";   // -missing: zero, rowmean, drop
  int log2 = 0;              // -log2: log2(x + 1)
  int top = 0;               // -top N: the N rows of largest variance; 0 keeps all
  int center = 0;            // -center: subtract each row's mean
  int zscore = 0;            // -zscore: and divide by its standard deviation
  std::unique_ptr<tOutputFile> out2_stream;
  std::unique_ptr<tOutputFile> out3_stream;
  std::unique_ptr<std::ifstream> in_stream;
  std::unique_ptr<std::ifstream> in2_stream;
  std::unique_ptr<tOutputFile> out_stream;

 private:
  void open_files(int argc, const char** argv);
  void read_values(int argc, const char** argv);
  void reject_unknown_arguments(int argc, const char** argv) const;
  void check_values() const;

  string output2_name_ = "stdout";
  string output3_name_ = "stdout";
  bool top_given_ = false;
};
