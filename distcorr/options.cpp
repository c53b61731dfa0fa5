// The command line of distcorr: its words by option, then each value checked and converted.
#include "distcorr/options.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <set>

#include "lib/diagnostics.hpp"

namespace {

constexpr const char* kHelp =
    "Usage: distcorr [options]   (reads standard input unless -i is given)\n"
    "Distances between the sequences of a DNA alignment, as a PHYLIP distance matrix.\n"
    "\t-i file        - The alignment: FASTA or PHYLIP, plain or gzip; - is standard input\n"
    "\t-o file        - Write the distance matrix here (default: standard output)\n"
    "\t-format f      - auto (default), fasta or phylip\n"
    "\t-deletion d    - global (default: sites any sequence leaves unresolved go) or pairwise\n"
    "\t-model m       - raw, jc (default), k2p, f81, t92, tn93, f84 or logdet\n"
    "\t-alpha a       - gamma shape above 0, for jc, k2p, f81 and tn93 (default: no gamma)\n"
    "\t-states s      - jc: number of character states (default 4)\n"
    "\t-fix f         - saturated pairs: none (default: -1), x, c or pq (jc without -alpha)\n"
    "\t-x v           - x: multiple of the largest distance (default 1); c: the value\n"
    "\t-p0 v -q0 v    - pq: proportions above p0 are mapped so that 1 becomes q0\n"
    "\t-variance file - Write the variance of every distance as a second PHYLIP matrix\n"
    "\t-counts file   - Write a table: a b sites differences transitions transversions\n"
    "\t-bootstrap n   - Append n matrices of columns drawn with replacement (needs -seed)\n"
    "\t-seed s        - Seed of the draws, 0 to 18446744073709551615\n"
    "\t-threads n     - Threads of the pair loop; 0 (default) every usable core\n"
    "\t-stats         - Report saturation and the sites used on standard error\n"
    "\t-h, --help     - Show this message and then quit\n";

// A refused command line: one line naming the option, status 2.
[[noreturn]] __attribute__((format(printf, 1, 2))) void refuse(const char* format, ...) {
  char text[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  misuse("%s (see --help)", text);
}

constexpr const char* kValueOptions[] = {
    "-i",     "-o",   "-variance", "-counts", "-format", "-deletion",  "-model", "-states",
    "-alpha", "-fix", "-x",        "-p0",     "-q0",     "-bootstrap", "-seed",  "-threads"};
constexpr const char* kFlags[] = {"-stats"};

// The words of the command line by option: each option once, a value option with the next word
// (whatever it is, so "-x -1" and "-i -" read as written).
struct tLine {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  tLine(int argc, const char** argv) {
    for (int k = 1; k < argc; ++k) {
      const std::string word = argv[k];
      const bool flag = std::find(std::begin(kFlags), std::end(kFlags), word) != std::end(kFlags);
      const bool valued = std::find(std::begin(kValueOptions), std::end(kValueOptions), word) !=
                          std::end(kValueOptions);
      if (!flag && !valued) refuse("unknown option %s", word.c_str());
      if (flags.count(word) > 0 || values.count(word) > 0)
        refuse("%s is given twice", word.c_str());
      if (flag) {
        flags.insert(word);
      } else {
        if (k + 1 == argc) refuse("%s needs a value", word.c_str());
        values[word] = argv[++k];
      }
    }
  }

  // The word after name, if the option is given.
  bool word(const char* name, std::string& value) const {
    const auto found = values.find(name);
    if (found == values.end()) return false;
    value = found->second;
    return true;
  }
  bool flag(const char* name) const { return flags.count(name) > 0; }
};

// The value of a word option, which must be one of the choices (in the order of the enum).
template <class Enum>
bool choice(const tLine& line, const char* name, std::initializer_list<const char*> all,
            Enum& value) {
  std::string word;
  if (!line.word(name, word)) return false;
  int k = 0;
  for (const char* one : all) {
    if (word == one) {
      value = static_cast<Enum>(k);
      return true;
    }
    ++k;
  }
  std::string listed;
  for (const char* one : all) listed += std::string(listed.empty() ? "" : ", ") + one;
  refuse("%s %s: not one of %s", name, word.c_str(), listed.c_str());
}

// A whole-word integer in [low, high].
template <class Integer>
bool integer(const tLine& line, const char* name, long long low, long long high, Integer& value) {
  std::string word;
  if (!line.word(name, word)) return false;
  errno = 0;
  char* end = nullptr;
  const long long read = std::strtoll(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno != 0 || read < low || read > high)
    refuse("%s %s: must be a whole number from %lld to %lld", name, word.c_str(), low, high);
  value = static_cast<Integer>(read);
  return true;
}

bool seed(const tLine& line, std::uint64_t& value) {
  std::string word;
  if (!line.word("-seed", word)) return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long read = std::strtoull(word.c_str(), &end, 10);
  if (word.empty() || word[0] == '-' || *end != '\0' || errno != 0)
    refuse("-seed %s: must be a whole number from 0 to 18446744073709551615", word.c_str());
  value = read;
  return true;
}

// A whole-word finite number.
template <class Real>
bool real(const tLine& line, const char* name, Real& value) {
  std::string word;
  if (!line.word(name, word)) return false;
  char* end = nullptr;
  const double read = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0' || !std::isfinite(read))
    refuse("%s %s: must be a finite number", name, word.c_str());
  value = static_cast<Real>(read);
  return true;
}

void read_files(const tLine& line, tDistcorrOptions& o) {
  const struct {
    const char* name;
    std::string& path;
  } files[] = {{"-i", o.input}, {"-o", o.output}, {"-variance", o.variance}, {"-counts", o.counts}};
  for (const auto& f : files)
    if (line.word(f.name, f.path) && f.path.empty()) refuse("%s needs a file name", f.name);
  if (o.input == "-") o.input.clear();
}

void read_model(const tLine& line, tModelParameters& m) {
  choice(line, "-model", {"raw", "jc", "k2p", "f81", "t92", "tn93", "f84", "logdet"}, m.model);
  const bool has_states = integer(line, "-states", 2, 1000000, m.states);
  const bool has_alpha = real(line, "-alpha", m.alpha);
  if (has_alpha && !(m.alpha > 0)) refuse("-alpha %g: must be above 0", m.alpha);
  if (has_alpha && !has_gamma(m.model)) refuse("-alpha applies to -model jc, k2p, f81 and tn93");
  if (has_states && m.model != tModel::jc) refuse("-states applies to -model jc");
}

void read_fix(const tLine& line, const tModelParameters& m, tFixSettings& c) {
  choice(line, "-fix", {"none", "x", "c", "pq"}, c.fix);
  const bool has_x = real(line, "-x", c.x);
  const bool has_p0 = real(line, "-p0", c.p0);
  const bool has_q0 = real(line, "-q0", c.q0);
  if (has_x && c.fix != tFix::x && c.fix != tFix::c) refuse("-x applies to -fix x and -fix c");
  if ((has_p0 || has_q0) && c.fix != tFix::pq) refuse("-p0 and -q0 apply to -fix pq");
  if (c.fix == tFix::c && !has_x) refuse("-fix c needs the value -x");
  if (c.fix == tFix::pq && !(has_p0 && has_q0)) refuse("-fix pq needs -p0 and -q0");
  if (c.x < 0) refuse("-x %g: must be at least 0 (-fix none keeps the saturated pairs)", c.x);
  if (c.fix != tFix::pq) return;
  if (m.model != tModel::jc || m.alpha > 0) refuse("-fix pq applies to -model jc without -alpha");
  // The compression must keep every value it corrects below the saturation level (s-1)/s.
  const double level = static_cast<double>(m.states - 1) / m.states;
  if (!(c.p0 >= 0 && c.p0 < level)) refuse("-p0 %g: must be at least 0 and below %g", c.p0, level);
  if (!(c.q0 >= 0 && c.q0 < level)) refuse("-q0 %g: must be at least 0 and below %g", c.q0, level);
}

void read_replicates(const tLine& line, tDistcorrOptions& o) {
  const bool has_bootstrap = integer(line, "-bootstrap", 1, 1000000, o.bootstrap);
  const bool has_seed = seed(line, o.seed);
  if (has_bootstrap && !has_seed) refuse("-bootstrap needs -seed");
  if (has_seed && !has_bootstrap) refuse("-seed applies to -bootstrap");
  integer(line, "-threads", 0, 1000000, o.threads);
  const tModel m = o.model.model;
  if (!o.variance.empty() && o.model.alpha > 0 && (m == tModel::jc || m == tModel::f81))
    refuse("-variance has no gamma variance for -model jc and f81; leave out -alpha");
}

}  // namespace

tDistcorrOptions parse_distcorr_options(int argc, const char** argv) {
  bool help = false;
  for (int k = 1; k < argc; ++k)
    for (const char* name : {"-h", "-help", "--help"}) help = help || std::string(argv[k]) == name;
  if (help) {
    std::cout << kHelp;
    std::cout.flush();
    fatal_exit(0);
  }
  const tLine line(argc, argv);
  tDistcorrOptions o;
  read_files(line, o);
  choice(line, "-format", {"auto", "fasta", "phylip"}, o.format);
  choice(line, "-deletion", {"global", "pairwise"}, o.deletion);
  read_model(line, o.model);
  read_fix(line, o.model, o.fix);
  read_replicates(line, o);
  o.stats = line.flag("-stats");
  return o;
}
