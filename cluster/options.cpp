// The option table of the clusterer and the parser, checks and help it drives.
#include "cluster/options.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cluster/input/table_format.hpp"
#include "cluster/limits.hpp"
#include "cluster/version.hpp"
#include "io/path_guard.hpp"
#include "lib/diagnostics.hpp"

namespace {

enum class tKind {
  flag,    // no value
  whole,   // an integer from low to high
  number,  // a finite number, above 0 when low is 1
  choice,  // one word of choices
  name,    // a file name
  seed,    // 0 .. 2^64-1
  word,    // one word the option converts itself
  names,   // file names up to the next option
};

// A value as its option's kind converts it.
struct tValue {
  long long whole = 0;
  double number = 0;
  std::uint64_t seed = 0;
  std::string word;
  std::vector<std::string> words;  // names: every file name
  const char* option = "";         // the option the value follows
};

struct tOptionEntry {
  const char* group;
  const char* name;
  const char* placeholder;  // the value in the help ("" for a flag)
  const char* meaning;
  const char* fallback;  // the default, shown in brackets
  tKind kind;
  long long low, high;  // whole: the range; number: low 1 asks for a value above 0
  const char* choices;  // choice: the words, separated by ", "
  void (*take)(tRunOptions&, const tValue&);
};

constexpr long long no_limit = INT_MAX;

// The consensus options convert their own values.
void take_consensus(tRunOptions& o, const tValue& v);

// Grouped: lines of one group stand together, in the order they are listed. The help lists every
// line in this order; -v1 .. -v4 share the line of -v.
const tOptionEntry option_table[] = {
    {"Input and output", "-i", "name", "read the expression matrix from this file ('-': stdin)",
     "stdin", tKind::name, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.input = v.word; }},
    {"Input and output", "-i2", "name", "second input file (named in the settings report)", "none",
     tKind::name, 0, 0, nullptr, [](tRunOptions& o, const tValue& v) { o.input2 = v.word; }},
    {"Input and output", "-o", "name", "group label file (0 .. 2k-1 per row)", "not written",
     tKind::name, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.outputs.groups = v.word; }},
    {"Input and output", "-o2", "name", "cluster label file (0 .. k-1 per row)", "not written",
     tKind::name, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.outputs.clusters = v.word; }},
    {"Input and output", "-o3", "name", "file of -init_clusters_out", "stdout", tKind::name, 0, 0,
     nullptr, [](tRunOptions& o, const tValue& v) { o.outputs.starts = v.word; }},
    {"Input and output", "-init_clusters", "name",
     "start from this label file (with or without the count line)", "random start", tKind::name, 0,
     0, nullptr, [](tRunOptions& o, const tValue& v) { o.init_clusters = v.word; }},
    {"Input and output", "-init_clusters_out", "", "write the initial cluster of every row", "off",
     tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.write_start = true; }},
    {"Input and output", "-table", "name",
     "results table: name, row, cluster, group, score, cosine (tab-separated)", "not written",
     tKind::name, 0, 0, nullptr, [](tRunOptions& o, const tValue& v) { o.outputs.table = v.word; }},
    {"Input and output", "-format", "name", "the input's layout (gzip is recognised)", "auto",
     tKind::choice, 0, 0, "auto, matrix, tsv, csv, ssv, csv2, gct, pcl",
     [](tRunOptions& o, const tValue& v) {
       if (!format_named(v.word.c_str(), o.reading.format))
         error("-format %s: listed, but no reader takes it", v.word.c_str());
     }},
    {"Preparation", "-missing", "name", "missing values become", "zero", tKind::choice, 0, 0,
     "zero, rowmean, drop",
     [](tRunOptions& o, const tValue& v) {
       if (!missing_policy_named(v.word.c_str(), o.reading.missing))
         error("-missing %s: listed, but not known", v.word.c_str());
     }},
    {"Preparation", "-log2", "", "replace every value x by log2(x + 1)", "off", tKind::flag, 0, 0,
     nullptr, [](tRunOptions& o, const tValue&) { o.reading.log2 = true; }},
    {"Preparation", "-top", "N", "keep the N rows of largest variance", "every row", tKind::whole,
     1, max_rows, nullptr,
     [](tRunOptions& o, const tValue& v) { o.reading.top = static_cast<int>(v.whole); }},
    {"Preparation", "-center", "", "subtract each row's mean", "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reading.center = true; }},
    {"Preparation", "-zscore", "", "subtract each row's mean, divide by its standard deviation",
     "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reading.zscore = true; }},
    {"Clustering", "-num_clusters", "k", "number of clusters", "5", tKind::whole, 1,
     max_num_clusters, nullptr,
     [](tRunOptions& o, const tValue& v) {
       o.clustering.num_clusters = static_cast<int>(v.whole);
     }},
    {"Clustering", "-normalize", "", "scale every row to length 1", "off", tKind::flag, 0, 0,
     nullptr, [](tRunOptions& o, const tValue&) { o.clustering.normalize = true; }},
    {"Clustering", "-t1", "n", "steps of the principal direction iteration", "20", tKind::whole, 0,
     no_limit, nullptr,
     [](tRunOptions& o, const tValue& v) { o.clustering.t1 = static_cast<int>(v.whole); }},
    {"Clustering", "-t2", "x", "stopping tolerance of both clustering loops", "0.001",
     tKind::number, 1, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.clustering.t2 = v.number; }},
    {"Clustering", "-seed", "N", "seed of every random draw (0 .. 2^64-1)", "clock and process id",
     tKind::seed, 0, 0, nullptr, [](tRunOptions& o, const tValue& v) { o.seed = v.seed; }},
    {"Clustering", "-restarts", "R", "random starts; the largest objective wins", "1", tKind::whole,
     1, max_restarts, nullptr,
     [](tRunOptions& o, const tValue& v) { o.clustering.restarts = static_cast<int>(v.whole); }},
    {"Clustering", "-threads", "N", "threads of the clustering; 0 uses every core", "0",
     tKind::whole, 0, no_limit, nullptr,
     [](tRunOptions& o, const tValue& v) { o.threads = static_cast<int>(v.whole); }},
    {"Simulation and perturbation", "-simulate", "", "cluster simulated data (10 rows per cluster)",
     "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.simulation.simulate = true; }},
    {"Simulation and perturbation", "-columns", "d", "columns of simulated data", "10",
     tKind::whole, 0, no_limit, nullptr,
     [](tRunOptions& o, const tValue& v) { o.simulation.columns = static_cast<int>(v.whole); }},
    {"Simulation and perturbation", "-noise", "x", "noise of simulated data", "0.001",
     tKind::number, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.simulation.noise = v.number; }},
    {"Simulation and perturbation", "-permute", "", "shuffle the entries of read data", "off",
     tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.simulation.permute = true; }},
    {"Simulation and perturbation", "-random_cluster", "", "print a random grouping of the rows",
     "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.simulation.random_cluster = true; }},
    {"Consensus", "-consensus", "B", "consensus clustering: B resampled runs for every k", "off",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-k_range", "K1..K2", "the k of a consensus run", "-num_clusters alone",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-resample_rows", "f", "fraction of rows each run draws, in (0, 1]", "0.8",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-resample_columns", "g", "fraction of columns each run draws, in (0, 1]", "1",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-pac", "u1,u2", "PAC counts the pairs with u1 < consensus <= u2", "0.1,0.9",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-consensus_table", "name", "a line per k: PAC, CDF area, delta, best k",
     "not written", tKind::name, 0, 0, nullptr, take_consensus},
    {"Consensus", "-consensus_labels", "name", "class and item consensus of every row for every k",
     "not written", tKind::name, 0, 0, nullptr, take_consensus},
    {"Consensus", "-consensus_counts", "name", "the pair counts, for -merge_counts", "not written",
     tKind::name, 0, 0, nullptr, take_consensus},
    {"Consensus", "-consensus_runs", "A..B", "compute only runs A <= r < B of the design", "all",
     tKind::word, 0, 0, nullptr, take_consensus},
    {"Consensus", "-merge_counts", "F1 F2 ..", "sum counts files of one design (with -i)", "off",
     tKind::names, 0, 0, nullptr, take_consensus},
    {"Reports", "-scores", "", "print the objective, cluster shares and quality scores", "off",
     tKind::flag, 0, 0, nullptr, [](tRunOptions& o, const tValue&) { o.reports.scores = true; }},
    {"Reports", "-heatmap", "name", "SVG heatmap of the clustered matrix", "not written",
     tKind::name, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.outputs.heatmap = v.word; }},
    {"Reports", "-report", "name", "self-contained HTML report of the run", "not written",
     tKind::name, 0, 0, nullptr,
     [](tRunOptions& o, const tValue& v) { o.outputs.report = v.word; }},
    {"Reports", "-v", "", "verbosity: 1 reports, 2 settings, 4 progress", "0", tKind::flag, 0, 0,
     nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.verbosity = std::max(o.reports.verbosity, 1); }},
    {"", "-v1", "", "", "", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.verbosity = std::max(o.reports.verbosity, 1); }},
    {"", "-v2", "", "", "", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.verbosity = std::max(o.reports.verbosity, 2); }},
    {"", "-v3", "", "", "", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.verbosity = std::max(o.reports.verbosity, 3); }},
    {"", "-v4", "", "", "", tKind::flag, 0, 0, nullptr,
     [](tRunOptions& o, const tValue&) { o.reports.verbosity = std::max(o.reports.verbosity, 4); }},
    {"Reports", "-compare_function", "", "accepted, no effect", "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions&, const tValue&) {}},
    {"Reports", "-do_data", "", "accepted, no effect", "off", tKind::flag, 0, 0, nullptr,
     [](tRunOptions&, const tValue&) {}},
};

bool asks_for_help(const char* word) {
  return std::strcmp(word, "-h") == 0 || std::strcmp(word, "-help") == 0 ||
         std::strcmp(word, "--help") == 0;
}

// The one report of a command line the program cannot run: why, and where the options are.
[[noreturn]] void reject(const std::string& why) {
  misuse("%s (see --help)", why.c_str());
}

// What an option's value may be, for the help's errors.
std::string accepted(const tOptionEntry& entry) {
  switch (entry.kind) {
    case tKind::whole:
      if (entry.high == no_limit) return "a whole number from " + std::to_string(entry.low) + " up";
      return "a whole number from " + std::to_string(entry.low) + " to " +
             std::to_string(entry.high);
    case tKind::number:
      return entry.low == 1 ? "a finite number above 0" : "a finite number";
    case tKind::choice:
      return std::string("one of ") + entry.choices;
    case tKind::name:
      return "a file name";
    case tKind::word:
      return std::string("a value: ") + entry.placeholder;
    case tKind::names:
      return "one or more file names";
    case tKind::seed:
      return "a whole number from 0 to 18446744073709551615";
    case tKind::flag:
      break;
  }
  return "no value";
}

// Decimal digits with an optional sign, nothing else.
bool converts_whole(const char* text, long long& value) {
  if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return *end == '\0' && errno != ERANGE;
}

bool converts_number(const char* text, double& value) {
  if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return false;
  char* end = nullptr;
  value = std::strtod(text, &end);
  return *end == '\0' && std::isfinite(value);
}

bool converts_seed(const char* text, std::uint64_t& value) {
  if (*text == '\0' || std::strspn(text, "0123456789") != std::strlen(text)) return false;
  errno = 0;
  value = std::strtoull(text, nullptr, 10);
  return errno != ERANGE;
}

bool is_choice(const char* choices, const std::string& word) {
  const std::string list = std::string(choices) + ", ";
  return !word.empty() && list.find(word + ", ") != std::string::npos &&
         (list.find(word + ", ") == 0 || list.find(", " + word + ", ") != std::string::npos);
}

// The value of entry from text, or the end of the run naming both.
tValue value_of(const tOptionEntry& entry, const char* text) {
  tValue value;
  value.word = text;
  value.option = entry.name;
  const std::string given = std::string(entry.name) + " " + text;
  switch (entry.kind) {
    case tKind::whole:
      if (!converts_whole(text, value.whole) || value.whole < entry.low || value.whole > entry.high)
        reject(given + ": expects " + accepted(entry));
      break;
    case tKind::number:
      if (!converts_number(text, value.number) || (entry.low == 1 && !(value.number > 0)))
        reject(given + ": expects " + accepted(entry));
      break;
    case tKind::choice:
      if (!is_choice(entry.choices, value.word)) reject(given + ": expects " + accepted(entry));
      break;
    case tKind::seed:
      if (!converts_seed(text, value.seed)) reject(given + ": expects " + accepted(entry));
      break;
    case tKind::name:
    case tKind::word:
      if (value.word.empty()) reject(given + ": expects " + accepted(entry));
      break;
    case tKind::names:
    case tKind::flag:
      break;
  }
  return value;
}

const tOptionEntry* entry_named(const char* word) {
  for (const tOptionEntry& entry : option_table)
    if (std::strcmp(entry.name, word) == 0) return &entry;
  return nullptr;
}

// Pairs of options that cannot run together, and bounds that depend on another option.
void check_combinations(const tRunOptions& options, const std::vector<const tOptionEntry*>& seen) {
  const auto given = [&](const char* name) {
    for (const tOptionEntry* entry : seen)
      if (std::strcmp(entry->name, name) == 0) return true;
    return false;
  };
  if (options.reading.center && options.reading.zscore)
    reject("-center and -zscore: give one of them (-zscore centres too)");
  if (given("-restarts") && options.init_clusters)
    reject("-restarts and -init_clusters: a run from -init_clusters has exactly one start");
  if (options.simulation.simulate && options.clustering.num_clusters > max_simulated_clusters)
    reject("-num_clusters " + std::to_string(options.clustering.num_clusters) +
           ": with -simulate expects a whole number from 1 to " +
           std::to_string(max_simulated_clusters) + " (" +
           std::to_string(rows_per_simulated_cluster) + " rows per cluster, at most " +
           std::to_string(max_rows) + " rows)");
  // A consensus run writes only its own outputs: the first single-run option given refuses it.
  const char* const single_run[] = {"-simulate",
                                    "-init_clusters",
                                    "-restarts",
                                    "-permute",
                                    "-random_cluster",
                                    "-init_clusters_out",
                                    "-o",
                                    "-o2",
                                    "-o3",
                                    "-table",
                                    "-heatmap",
                                    "-scores"};
  std::string other;
  for (const char* name : single_run)
    if (other.empty() && options.consensus.active() && given(name)) other = name;
  check_consensus_options(options.consensus, options.input.has_value(), other);
}

// No output may replace an input or another output; the check reads no file and writes none.
void guard_files(const tRunOptions& options) {
  const auto named = [](const char* option, const std::optional<std::string>& file, tFileUse use) {
    return tNamedFile{option, file.value_or(""), use};
  };
  const tOutputNames& out = options.outputs;
  std::vector<tNamedFile> files = {named("-i", options.input, tFileUse::input),
                                   named("-i2", options.input2, tFileUse::input),
                                   named("-init_clusters", options.init_clusters, tFileUse::input),
                                   named("-o", out.groups, tFileUse::output),
                                   named("-o2", out.clusters, tFileUse::output),
                                   named("-o3", out.starts, tFileUse::output),
                                   named("-table", out.table, tFileUse::output),
                                   named("-heatmap", out.heatmap, tFileUse::output),
                                   named("-report", out.report, tFileUse::output)};
  const std::vector<tNamedFile> consensus = consensus_named_files(options.consensus);
  files.insert(files.end(), consensus.begin(), consensus.end());
  guard_paths(files);
}

void take_consensus(tRunOptions& o, const tValue& v) {
  take_consensus_option(o.consensus, v.option,
                        v.words.empty() ? std::vector<std::string>{v.word} : v.words);
}

}  // namespace

tRunOptions parse_command_line(int argc, const char** argv) {
  for (int i = 1; i < argc; ++i)
    if (asks_for_help(argv[i])) {
      write_help(std::cerr);
      fatal_exit(0);
    }
  tRunOptions options;
  std::vector<const tOptionEntry*> seen;
  for (int i = 1; i < argc; ++i) {
    const tOptionEntry* entry = entry_named(argv[i]);
    if (!entry) {
      if (argv[i][0] == '-') reject(std::string(argv[i]) + ": not an option of this program");
      reject(std::string(argv[i]) + ": a word without an option (values follow their option)");
    }
    for (const tOptionEntry* earlier : seen)
      if (earlier == entry) reject(std::string(entry->name) + ": given more than once");
    seen.push_back(entry);
    if (entry->kind != tKind::flag && i + 1 == argc)
      reject(std::string(entry->name) + ": expects " + accepted(*entry) + " after it");
    if (entry->kind == tKind::names) {
      tValue names;
      names.option = entry->name;
      while (i + 1 < argc && (argv[i + 1][0] != '-' || argv[i + 1][1] == '\0'))
        names.words.push_back(argv[++i]);
      if (names.words.empty())
        reject(std::string(entry->name) + ": expects " + accepted(*entry) + " after it");
      entry->take(options, names);
      continue;
    }
    const char* text = entry->kind == tKind::flag ? "" : argv[++i];
    entry->take(options, value_of(*entry, text));
  }
  check_combinations(options, seen);
  guard_files(options);
  options.reading.verbosity = options.reports.verbosity;
  return options;
}

namespace {

void write_help_line(std::ostream& os, std::string option, const std::string& meaning,
                     const char* fallback) {
  if (option.size() < 20) option.resize(20, ' ');
  os << '\t' << option << " - " << meaning << " [" << fallback << "]\n";
}

}  // namespace

void write_help(std::ostream& os) {
  os << version() << '\n'
     << "Usage: clusterer [options]\n"
     << "Clusters the rows of an expression matrix (-i, or standard input) into k clusters and\n"
     << "splits every cluster into two groups; labels, tables, pictures and reports go where the\n"
     << "options say. Exit status: 0 done, 1 bad input or files, 2 a command line it cannot run.\n"
     << "Options:\n";
  const char* group = "";
  for (const tOptionEntry& entry : option_table) {
    if (*entry.group == '\0') continue;  // listed on the line before
    if (std::strcmp(group, entry.group) != 0) os << entry.group << ":\n";
    group = entry.group;
    std::string option = std::strcmp(entry.name, "-v") == 0 ? "-v, -v1 .. -v4" : entry.name;
    if (*entry.placeholder != '\0') option += std::string(" ") + entry.placeholder;
    std::string meaning = entry.meaning;
    if (entry.kind == tKind::choice) meaning += std::string(": ") + entry.choices;
    if (entry.kind == tKind::whole && entry.high != no_limit)
      meaning += " (" + std::to_string(entry.low) + " .. " + std::to_string(entry.high) + ")";
    write_help_line(os, option, meaning, entry.fallback);
  }
  os << "Additional:\n";
  write_help_line(os, "-h, -help, --help", "show this message and then quit", "-");
}

std::string input_label(const tRunOptions& options) {
  if (options.input2) return *options.input2;
  if (options.input && *options.input != "-") return *options.input;
  return "stdin";
}
