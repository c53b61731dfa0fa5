// Parsing and checking the consensus options.
#include "cluster/consensus/consensus_options.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"

namespace {

bool whole_number(const std::string& text, int& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed > 0x7fffffff) return false;
  value = static_cast<int>(parsed);
  return true;
}

// "A..B" of whole numbers.
void take_range(int argc, const char** argv, const char* option, int& first, int& last) {
  string text;
  if (!getoption(argc, argv, option, text)) return;
  const std::string value = text.c_str();
  const std::size_t dots = value.find("..");
  if (dots == std::string::npos || !whole_number(value.substr(0, dots), first) ||
      !whole_number(value.substr(dots + 2), last))
    usage("%s %s: give a range of whole numbers as A..B", option, value.c_str());
}

bool real_number(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

// True when the option is given.
bool take_fraction(int argc, const char** argv, const char* option, double& value) {
  string text;
  if (!getoption(argc, argv, option, text)) return false;
  if (!real_number(text.c_str(), value) || !(value > 0 && value <= 1))
    usage("%s %s: the fraction must be a number in (0, 1]", option, text.c_str());
  return true;
}

void take_file(int argc, const char** argv, const char* option, std::optional<std::string>& file) {
  string name;
  if (getoption(argc, argv, option, name)) file = name.c_str();
}

// -merge_counts F1 F2 ...: the words after the option up to the next option, each one file.
void take_merge_files(int argc, const char** argv, std::vector<std::string>& files) {
  int at = 1;
  while (at < argc && std::strcmp(argv[at], "-merge_counts") != 0) ++at;
  string words;
  if (!getoption(argc, argv, "-merge_counts", words)) return;  // claims the option and the files
  for (int i = at + 1; i < argc && argv[i][0] != '-'; ++i) files.push_back(argv[i]);
  if (files.empty()) usage("-merge_counts: name the counts files to merge");
}

}  // namespace

void read_consensus_options(int argc, const char** argv, tConsensusOptions& o) {
  string runs;
  o.runs_given = getoption(argc, argv, "-consensus", runs);
  if (o.runs_given && !whole_number(runs.c_str(), o.runs))
    usage("-consensus %s: the number of runs must be a whole number of at least 1", runs.c_str());
  take_range(argc, argv, "-k_range", o.k_first, o.k_last);
  o.draw_given = take_fraction(argc, argv, "-resample_rows", o.row_fraction);
  o.draw_given |= take_fraction(argc, argv, "-resample_columns", o.column_fraction);
  string pac;
  if (getoption(argc, argv, "-pac", pac)) {
    o.draw_given = true;
    const std::string value = pac.c_str();
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos || !real_number(value.substr(0, comma), o.pac_low) ||
        !real_number(value.substr(comma + 1), o.pac_high) ||
        !(0 <= o.pac_low && o.pac_low < o.pac_high && o.pac_high <= 1))
      usage("-pac %s: give u1,u2 with 0 <= u1 < u2 <= 1", value.c_str());
  }
  take_range(argc, argv, "-consensus_runs", o.first_run, o.end_run);
  take_file(argc, argv, "-consensus_table", o.table_file);
  take_file(argc, argv, "-consensus_labels", o.labels_file);
  take_file(argc, argv, "-consensus_counts", o.counts_file);
  take_merge_files(argc, argv, o.merge_files);
}

void check_consensus_options(const tConsensusOptions& o, bool input_named,
                             const std::string& other_option) {
  const bool companion =
      o.k_first > 0 || o.end_run > 0 || o.table_file || o.labels_file || o.counts_file;
  if (!o.active()) {
    if (companion) usage("the consensus options need -consensus B or -merge_counts");
    return;
  }
  if (o.runs_given && !o.merge_files.empty())
    usage("-consensus and -merge_counts: a run either computes counts or merges them");
  if (o.runs_given && o.runs < 1) usage("-consensus %d: at least one run is needed", o.runs);
  if (o.k_first > 0 && (o.k_first < 1 || o.k_first > o.k_last))
    usage("-k_range %d..%d: K1 must be at least 1 and at most K2", o.k_first, o.k_last);
  if (o.end_run > 0 && (o.first_run >= o.end_run || o.end_run > o.runs))
    usage("-consensus_runs %d..%d: a non-empty range within 0..%d", o.first_run, o.end_run, o.runs);
  if (!o.merge_files.empty() && !input_named)
    usage("-merge_counts: name the input with -i, for the row names");
  if (!o.merge_files.empty() && (o.k_first > 0 || o.end_run > 0))
    usage("-merge_counts: the k range and the runs come from the counts files");
  if (!o.merge_files.empty() && o.counts_file)
    usage("-merge_counts and -consensus_counts: merged counts are not written again");
  if (!other_option.empty()) usage("%s: not part of a consensus run", other_option.c_str());
}

void open_consensus_files(tConsensusOptions& o) {
  const auto open = [](const std::optional<std::string>& file, std::unique_ptr<tOutputFile>& out) {
    if (file) out = std::make_unique<tOutputFile>(string(file->c_str()));
  };
  open(o.table_file, o.table);
  open(o.labels_file, o.labels);
  open(o.counts_file, o.counts);
}

std::vector<tNamedFile> consensus_named_files(const tConsensusOptions& o) {
  std::vector<tNamedFile> files;
  for (const std::string& file : o.merge_files)
    files.push_back({"-merge_counts", file, tFileUse::input});
  const auto output = [&](const char* option, const std::optional<std::string>& file) {
    if (file) files.push_back({option, *file, tFileUse::output});
  };
  output("-consensus_table", o.table_file);
  output("-consensus_labels", o.labels_file);
  output("-consensus_counts", o.counts_file);
  return files;
}
