// Command-line parsing of the clusterer, the usage text and the streams the run reads and writes.
#include "cluster/options.hpp"

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "cluster/limits.hpp"
#include "cluster/preparation.hpp"
#include "cluster/table_format.hpp"
#include "cluster/version.hpp"
#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"
#include "lib/list.hpp"

namespace {

std::unique_ptr<std::ifstream> open_for_reading(const string& name) {
  auto stream = std::make_unique<std::ifstream>(name.c_str());
  if (stream->fail()) bye("Can't open file to read: %s", name.c_str());
  return stream;
}

}  // namespace

tOptions::tOptions() = default;

tOptions::~tOptions() {
  in_stream.reset();
  in2_stream.reset();
  out_stream.reset();
  out2_stream.reset();
  out3_stream.reset();
}

void tOptions::parse_command_line(int argc, const char** argv) {
  if (getoption(argc, argv, "--help")) usage();
  open_files(argc, argv);
  read_values(argc, argv);
  reject_unknown_arguments(argc, argv);
  check_values();
  messages(verbosity != 0);
  if (verbosity >= 1) std::cerr << "# " << version() << '\n';
  if (verbosity >= 2) report();
}

void tOptions::open_files(int argc, const char** argv) {
  string name;
  if (getoption(argc, argv, "-i", name)) {
    input_name = name;
    in_stream = open_for_reading(name);
  }
  if (getoption(argc, argv, "-i2", name)) {
    input_name = name;
    in2_stream = open_for_reading(name);
  }
  if (getoption(argc, argv, "-o", name)) {
    output_name = name;
    out_stream = std::make_unique<tOutputFile>(name);
  }
  if (getoption(argc, argv, "-o2", name)) {
    output2_name_ = name;
    out2_stream = std::make_unique<tOutputFile>(name);
  }
  if (getoption(argc, argv, "-o3", name)) {
    output3_name_ = name;
    out3_stream = std::make_unique<tOutputFile>(name);
  }
}

void tOptions::read_values(int argc, const char** argv) {
  getoption(argc, argv, "-num_clusters", num_clusters);
  getoption(argc, argv, "-init_clusters", init_clusters);
  getoption(argc, argv, "-t1", t1);
  getoption(argc, argv, "-t2", t2);

  if (getoption(argc, argv, "-normalize")) normalize = 1;
  if (getoption(argc, argv, "-simulate")) simulate = 1;
  if (getoption(argc, argv, "-compare_function")) compare_function = 1;
  if (getoption(argc, argv, "-random_cluster")) random_cluster = 1;
  if (getoption(argc, argv, "-permute")) permute = 1;
  if (getoption(argc, argv, "-do_data")) do_data = 1;
  if (getoption(argc, argv, "-init_clusters_out")) init_clusters_out = 1;

  getoption(argc, argv, "-noise", noise);
  getoption(argc, argv, "-columns", columns);

  getoption(argc, argv, "-format", format);
  getoption(argc, argv, "-missing", missing);
  if (getoption(argc, argv, "-log2")) log2 = 1;
  top_given_ = getoption(argc, argv, "-top", top);
  if (getoption(argc, argv, "-center")) center = 1;
  if (getoption(argc, argv, "-zscore")) zscore = 1;

  // Examined from low to high, so the highest level given wins.
  if (getoption(argc, argv, "-v")) verbosity = 1;
  if (getoption(argc, argv, "-v1")) verbosity = 1;
  if (getoption(argc, argv, "-v2")) verbosity = 2;
  if (getoption(argc, argv, "-v3")) verbosity = 3;
  if (getoption(argc, argv, "-v4")) verbosity = 4;
}

void tOptions::reject_unknown_arguments(int argc, const char** argv) const {
  list<string> rest;
  if (getoption(argc, argv, rest) == 0) return;
  std::cerr << "Error: Unknown option(s): ";
  for (const string& argument : rest) std::cerr << ' ' << argument;
  std::cerr << '\n';
  usage();
}

void tOptions::check_values() const {
  if (num_clusters < 1)
    ::usage("-num_clusters %d: the number of clusters must be at least 1", num_clusters);
  if (num_clusters > max_num_clusters)
    ::usage("-num_clusters %d: at most %d clusters are supported", num_clusters, max_num_clusters);
  if (simulate && num_clusters > max_simulated_clusters)
    ::usage(
        "-num_clusters %d: -simulate makes %d rows per cluster and at most %d rows are "
        "supported, so at most %d clusters",
        num_clusters, rows_per_simulated_cluster, max_rows, max_simulated_clusters);
  if (t1 < 0) ::usage("-t1 %d: the number of iteration steps may not be negative", t1);
  if (!(t2 > 0)) ::usage("-t2 %g: the tolerance must be above 0", t2);
  if (columns < 0) ::usage("-columns %d: the number of columns may not be negative", columns);
  if (!std::isfinite(noise)) ::usage("-noise %g: the noise must be a finite number", noise);
  tTableFormat chosen_format;
  if (!format_named(format.c_str(), chosen_format))
    ::usage("-format %s: the formats are auto, matrix, tsv, csv, gct and pcl", format.c_str());
  tMissingPolicy policy;
  if (!missing_policy_named(missing.c_str(), policy))
    ::usage("-missing %s: the choices are zero, rowmean and drop", missing.c_str());
  if (top_given_ && (top < 1 || top > max_rows))
    ::usage("-top %d: between 1 and %d rows can be kept", top, max_rows);
  if (center && zscore) ::usage("-center and -zscore: give one of them (-zscore centres too)");
}

void tOptions::report() const {
  std::cerr << "# Input: " << input_name << '\n';
  std::cerr << "# Output: " << output_name << '\n';
}

void tOptions::usage() const {
  std::cerr << version() << '\n'
            << "Usage: program [options]\n"
            << "Main options:\n"
            << "Input-output:\n"
            << "\t-i name    - Read input from named file, not from stdin\n"
            << "\t-o name    - Write output to named file, not to stdout\n"
            << "Additional:\n"
            << "\t--help     - Show this message and then quit\n";
  fatal_exit(0);
}

std::istream& tOptions::ins() const {
  return in_stream ? *in_stream : std::cin;
}
std::istream& tOptions::ins2() const {
  return in2_stream ? *in2_stream : std::cin;
}
std::ostream& tOptions::outs() const {
  return out_stream ? out_stream->stream() : std::cout;
}
std::ostream& tOptions::outs2() const {
  return out2_stream ? out2_stream->stream() : std::cout;
}
std::ostream& tOptions::outs3() const {
  return out3_stream ? out3_stream->stream() : std::cout;
}

const string& tOptions::outs_name() const {
  return output_name;
}
const string& tOptions::outs2_name() const {
  return output2_name_;
}
const string& tOptions::outs3_name() const {
  return output3_name_;
}
