// Parsing and checking the consensus options.
#include "cluster/consensus/consensus_options.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "lib/diagnostics.hpp"

namespace {

bool whole_number(const std::string& text, int& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed > 0x7fffffff) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool real_number(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

// "A..B" of whole numbers.
void take_range(const char* option, const std::string& value, int& first, int& last) {
  const std::size_t dots = value.find("..");
  if (dots == std::string::npos || !whole_number(value.substr(0, dots), first) ||
      !whole_number(value.substr(dots + 2), last))
    misuse("%s %s: expects a range of whole numbers as A..B (see --help)", option, value.c_str());
}

void take_fraction(const char* option, const std::string& value, double& fraction) {
  if (!real_number(value, fraction) || !(fraction > 0 && fraction <= 1))
    misuse("%s %s: expects a fraction in (0, 1] (see --help)", option, value.c_str());
}

void take_pac(const std::string& value, double& low, double& high) {
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos || !real_number(value.substr(0, comma), low) ||
      !real_number(value.substr(comma + 1), high) || !(0 <= low && low < high && high <= 1))
    misuse("-pac %s: expects u1,u2 with 0 <= u1 < u2 <= 1 (see --help)", value.c_str());
}

const char* const consensus_options[] = {"-consensus",
                                         "-k_range",
                                         "-resample_rows",
                                         "-resample_columns",
                                         "-pac",
                                         "-consensus_runs",
                                         "-consensus_table",
                                         "-consensus_labels",
                                         "-consensus_counts",
                                         "-merge_counts"};

}  // namespace

bool is_consensus_option(const char* option) {
  for (const char* name : consensus_options)
    if (std::strcmp(name, option) == 0) return true;
  return false;
}

void take_consensus_option(tConsensusOptions& o, const char* option,
                           const std::vector<std::string>& words) {
  const std::string name = option;
  if (name == "-merge_counts") {
    o.merge_files = words;
    return;
  }
  const std::string& value = words.at(0);
  if (name == "-consensus") {
    o.runs_given = true;
    if (!whole_number(value, o.runs) || o.runs < 1)
      misuse("-consensus %s: expects a whole number of runs from 1 up (see --help)", value.c_str());
  } else if (name == "-k_range") {
    o.k_given = true;
    take_range(option, value, o.k_first, o.k_last);
  } else if (name == "-consensus_runs") {
    o.runs_range_given = true;
    take_range(option, value, o.first_run, o.end_run);
  } else if (name == "-resample_rows") {
    o.draw_given = true;
    take_fraction(option, value, o.row_fraction);
  } else if (name == "-resample_columns") {
    o.draw_given = true;
    take_fraction(option, value, o.column_fraction);
  } else if (name == "-pac") {
    o.pac_given = true;
    take_pac(value, o.pac_low, o.pac_high);
  } else if (name == "-consensus_table") {
    o.table_file = value;
  } else if (name == "-consensus_labels") {
    o.labels_file = value;
  } else if (name == "-consensus_counts") {
    o.counts_file = value;
  }
}

void check_consensus_options(const tConsensusOptions& o, bool input_named,
                             const std::string& other_option) {
  const bool companion = o.k_given || o.runs_range_given || o.draw_given || o.pac_given ||
                         o.table_file || o.labels_file || o.counts_file;
  if (!o.active()) {
    if (companion) misuse("the consensus options need -consensus B or -merge_counts");
    return;
  }
  if (o.runs_given && !o.merge_files.empty())
    misuse("-consensus and -merge_counts: a run either computes counts or merges them");
  if (o.k_given && (o.k_first < 1 || o.k_first > o.k_last))
    misuse("-k_range %d..%d: K1 must be at least 1 and at most K2", o.k_first, o.k_last);
  if (o.runs_range_given && (o.first_run >= o.end_run || o.end_run > o.runs))
    misuse("-consensus_runs %d..%d: a non-empty range within 0..%d", o.first_run, o.end_run,
           o.runs);
  if (!o.merge_files.empty() && !input_named)
    misuse("-merge_counts: name the input with -i, for the row names");
  if (!o.merge_files.empty() && (o.k_given || o.runs_range_given || o.draw_given))
    misuse("-merge_counts: the k range, the runs and the draw come from the counts files");
  if (!o.merge_files.empty() && o.counts_file)
    misuse("-merge_counts and -consensus_counts: merged counts are not written again");
  if (!other_option.empty()) misuse("%s: not part of a consensus run", other_option.c_str());
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
