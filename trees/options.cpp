// Scanning the command line of trees: every word must be an option of the subcommand, every
// value must convert in full and lie in its range, and no option may be given twice.
#include "trees/options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "lib/diagnostics.hpp"

namespace {

const char* const kHelp =
    "Usage: trees COMMAND [options]   (reads standard input unless -i is given)\n"
    "  splits      split counts and frequencies, most frequent first (TSV)\n"
    "  consensus   consensus tree with support and branch lengths (Newick)\n"
    "                -p X (majority rule: splits in more than X of the trees, 0.5 <= X < 1,\n"
    "                default 0.5) | -strict | -extended;  -lengths mean|median|none;  -percent\n"
    "  support     -target FILE: the tree in FILE labelled with split frequencies;  -percent\n"
    "  rf          Robinson-Foulds distances: all pairs (PHYLIP matrix) or -ref FILE;\n"
    "                -rooted (clades), -normalize\n"
    "  scale       -factor F | -normalize | -jc F (scale in Jukes-Cantor distance space)\n"
    "Common: -i FILE (Newick or Nexus, plain or gzip), -o FILE, -burnin N (skip N trees),\n"
    "        -h, -help, --help\n";

struct tCommandInfo {
  tCommand command;
  std::set<std::string> options;  // besides -i, -o and -burnin
};

const std::map<std::string, tCommandInfo>& commands() {
  static const std::map<std::string, tCommandInfo> all = {
      {"splits", {tCommand::splits, {}}},
      {"consensus", {tCommand::consensus, {"-p", "-strict", "-extended", "-lengths", "-percent"}}},
      {"support", {tCommand::support, {"-target", "-percent"}}},
      {"rf", {tCommand::rf, {"-ref", "-rooted", "-normalize"}}},
      {"scale", {tCommand::scale, {"-factor", "-normalize", "-jc"}}},
  };
  return all;
}

bool takes_value(const std::string& option) {
  static const std::set<std::string> valued = {"-i",      "-o",   "-burnin", "-p", "-lengths",
                                               "-target", "-ref", "-factor", "-jc"};
  return valued.count(option) != 0;
}

// The options given, each once, with their values ("" for flags).
std::map<std::string, std::string> scan(int argc, const char** argv, const tCommandInfo& info) {
  std::map<std::string, std::string> given;
  for (int k = 2; k < argc; ++k) {
    const std::string option = argv[k];
    const bool common = option == "-i" || option == "-o" || option == "-burnin";
    if (!common && !info.options.count(option))
      misuse("%s: unknown option for %s (see --help)", option.c_str(), argv[1]);
    if (given.count(option)) misuse("%s is given twice", option.c_str());
    std::string value;
    if (takes_value(option)) {
      if (k + 1 >= argc) misuse("%s needs a value", option.c_str());
      value = argv[++k];
      if (value.empty()) misuse("%s needs a value", option.c_str());
    }
    given[option] = value;
  }
  return given;
}

double real_value(const std::string& option, const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const double x = std::strtod(text.c_str(), &end);
  if (*end != '\0' || end == text.c_str() || errno == ERANGE || !std::isfinite(x))
    misuse("%s %s: not a finite number", option.c_str(), text.c_str());
  return x;
}

int count_value(const std::string& option, const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const long x = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || end == text.c_str() || errno == ERANGE || x < 0 || x > 1000000000)
    misuse("%s %s: not a whole number from 0 to 1000000000", option.c_str(), text.c_str());
  return static_cast<int>(x);
}

void read_consensus(std::map<std::string, std::string>& given, tConsensusSettings& c) {
  if (given.count("-strict") + given.count("-extended") + given.count("-p") > 1)
    misuse("-p, -strict and -extended exclude each other");
  if (given.count("-strict")) c.rule = tRule::strict;
  if (given.count("-extended")) c.rule = tRule::extended;
  if (given.count("-p")) {
    c.p = real_value("-p", given["-p"]);
    if (!(c.p >= 0.5 && c.p < 1))
      misuse("-p %s: must be at least 0.5 and below 1", given["-p"].c_str());
  }
  if (given.count("-lengths")) {
    const std::string& how = given["-lengths"];
    if (how == "mean")
      c.lengths = tLengths::mean;
    else if (how == "median")
      c.lengths = tLengths::median;
    else if (how == "none")
      c.lengths = tLengths::none;
    else
      misuse("-lengths %s: not one of mean, median, none", how.c_str());
  }
}

void read_scale(std::map<std::string, std::string>& given, tScaleSettings& s) {
  const std::size_t ways = given.count("-factor") + given.count("-normalize") + given.count("-jc");
  if (ways != 1) misuse("scale needs exactly one of -factor, -normalize and -jc");
  if (given.count("-normalize")) s.how = tScaling::normalize;
  const char* option = given.count("-factor") ? "-factor" : "-jc";
  if (given.count(option)) {
    s.how = given.count("-factor") ? tScaling::factor : tScaling::jc;
    s.f = real_value(option, given[option]);
    if (s.f < 0) misuse("%s %s: must be at least 0", option, given[option].c_str());
  }
}

}  // namespace

tTreesOptions parse_trees_options(int argc, const char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string word = argv[k];
    if (word == "-h" || word == "-help" || word == "--help") {
      std::fputs(kHelp, stdout);
      fatal_exit(0);
    }
  }
  if (argc < 2) misuse("trees COMMAND [options] (see --help)");
  const auto found = commands().find(argv[1]);
  if (found == commands().end())
    misuse("%s: not a command: splits, consensus, support, rf or scale", argv[1]);
  std::map<std::string, std::string> given = scan(argc, argv, found->second);
  tTreesOptions o;
  o.command = found->second.command;
  o.input = given.count("-i") ? given["-i"] : "";
  o.output = given.count("-o") ? given["-o"] : "";
  if (given.count("-burnin")) o.burnin = count_value("-burnin", given["-burnin"]);
  read_consensus(given, o.consensus);
  o.consensus.percent = given.count("-percent") != 0;
  o.target = given.count("-target") ? given["-target"] : "";
  if (o.command == tCommand::support && o.target.empty()) misuse("support needs -target FILE");
  o.reference = given.count("-ref") ? given["-ref"] : "";
  o.rf.rooted = given.count("-rooted") != 0;
  o.rf.normalize = o.command == tCommand::rf && given.count("-normalize") != 0;
  if (o.command == tCommand::scale) read_scale(given, o.scale);
  return o;
}
