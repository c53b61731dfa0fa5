// Command-line parsing of the clusterer, the usage text and the streams the run reads and writes.
#include "cluster/options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "cluster/limits.hpp"
#include "cluster/option_help.hpp"
#include "cluster/preparation.hpp"
#include "cluster/table_format.hpp"
#include "cluster/version.hpp"
#include "io/path_guard.hpp"
#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"
#include "lib/list.hpp"

namespace {

// Decimal digits only, at most 2^64 - 1.
bool parse_seed(const char* text, std::uint64_t& value) {
  if (*text == '\0' || std::strspn(text, "0123456789") != std::strlen(text)) return false;
  errno = 0;
  value = std::strtoull(text, nullptr, 10);
  return errno != ERANGE;
}

}  // namespace

tOptions::tOptions() = default;

tOptions::~tOptions() {
  in_stream.reset();
  in2_stream.reset();
  out_stream.reset();
  out2_stream.reset();
  out3_stream.reset();
  heatmap_stream.reset();
  report_stream.reset();
}

void tOptions::parse_command_line(int argc, const char** argv) {
  if (getoption(argc, argv, "--help")) usage();
  read_file_names(argc, argv);
  read_values(argc, argv);
  read_run_options(argc, argv);
  reject_unknown_arguments(argc, argv);
  check_run_options();
  check_values();
  guard_files();
  open_files();
  messages(verbosity != 0);
  if (verbosity >= 1) std::cerr << "# " << version() << '\n';
  if (verbosity >= 2) report();
}

void tOptions::read_file_names(int argc, const char** argv) {
  const auto take = [&](const char* option, std::optional<string>& file) {
    string name;
    if (getoption(argc, argv, option, name)) file = name;
  };
  take("-i", in_file_);
  take("-i2", in2_file_);
  take("-o", out_file_);
  take("-o2", out2_file_);
  take("-o3", out3_file_);
  take("-table", table_file_);
  take("-heatmap", heatmap_file_);
  take("-report", report_file_);
}

void tOptions::guard_files() const {
  const auto named = [](const char* option, const std::optional<string>& file, tFileUse use) {
    return tNamedFile{option, file ? file->c_str() : "", use};
  };
  guard_paths({named("-i", in_file_, tFileUse::input),
               named("-i2", in2_file_, tFileUse::input),
               {"-init_clusters", init_clusters.c_str(), tFileUse::input},
               named("-o", out_file_, tFileUse::output),
               named("-o2", out2_file_, tFileUse::output),
               named("-o3", out3_file_, tFileUse::output),
               named("-table", table_file_, tFileUse::output),
               named("-heatmap", heatmap_file_, tFileUse::output),
               named("-report", report_file_, tFileUse::output)});
}

void tOptions::open_files() {
  if (in_file_) {
    input_name = *in_file_;
    in_stream = std::make_unique<tInputFile>(*in_file_);
  }
  if (in2_file_) {
    input_name = *in2_file_;
    in2_stream = std::make_unique<tInputFile>(*in2_file_, tInputNeed::any);
  }
  const auto open_output = [](const std::optional<string>& file, string& name,
                              std::unique_ptr<tOutputFile>& stream) {
    if (!file) return;
    name = *file;
    stream = std::make_unique<tOutputFile>(*file);
  };
  open_output(out_file_, output_name, out_stream);
  open_output(out2_file_, output2_name_, out2_stream);
  open_output(out3_file_, output3_name_, out3_stream);
  open_output(table_file_, table_name, table_stream);
  open_output(heatmap_file_, heatmap_name, heatmap_stream);
  open_output(report_file_, report_name, report_stream);
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

void tOptions::read_run_options(int argc, const char** argv) {
  string seed_text;
  if (getoption(argc, argv, "-seed", seed_text)) {
    seed_given = true;
    if (!parse_seed(seed_text.c_str(), seed))
      reject("-seed \"" + std::string(seed_text.c_str()) +
             "\": the seed must be a whole number from 0 to 18446744073709551615");
  }
  restarts_given_ = getoption(argc, argv, "-restarts", restarts);
  getoption(argc, argv, "-threads", threads);
  if (getoption(argc, argv, "-scores")) scores = 1;
}

void tOptions::reject_unknown_arguments(int argc, const char** argv) const {
  list<string> rest;
  if (getoption(argc, argv, rest) == 0) return;
  std::string why = "Unknown option(s): ";
  for (const string& argument : rest) why += std::string(" ") + argument.c_str();
  reject(why);
}

void tOptions::check_run_options() const {
  if (restarts < 1)
    reject("-restarts " + std::to_string(restarts) + ": at least one start is needed");
  if (threads < 0)
    reject("-threads " + std::to_string(threads) +
           ": the number of threads may not be negative (0 uses every core)");
  if (restarts_given_ && !init_clusters.empty())
    reject("-restarts: a run from -init_clusters has exactly one start");
}

void tOptions::reject(const std::string& why) const {
  std::cerr << "Error: " << why << '\n';
  usage(2);
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

void tOptions::usage(int status) const {
  std::cerr << version() << '\n'
            << "Usage: program [options]\n"
            << "Main options:\n"
            << "Input-output:\n"
            << "\t-i name    - Read input from named file, not from stdin\n"
            << "\t-o name    - Write output to named file, not to stdout\n"
            << "Additional:\n"
            << "\t--help     - Show this message and then quit\n";
  write_option_list(std::cerr);
  fatal_exit(status);
}

std::istream& tOptions::ins() const {
  return in_stream ? in_stream->stream() : std::cin;
}
std::istream& tOptions::ins2() const {
  return in2_stream ? in2_stream->stream() : std::cin;
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
