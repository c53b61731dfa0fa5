// The command line of distcorr, scanned with the system's getoption().
#include "distcorr/options.hpp"

#include <cmath>
#include <iostream>

#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"
#include "lib/list.hpp"

namespace {

[[noreturn]] void usage_text() {
  std::cerr << "Usage: distcorr [options]   (reads standard input unless -i is given)\n"
               "\t-i name        - Read the alignment (FASTA or PHYLIP, plain or gzip)\n"
               "\t-o name        - Write the distance matrix to the named file\n"
               "\t-format f      - auto (default), fasta or phylip\n"
               "\t-deletion d    - global (default) or pairwise\n"
               "\t-model m       - jc (default) or k2p\n"
               "\t-states s      - jc: number of character states (default 4)\n"
               "\t-alpha a       - k2p: gamma shape, required, above 0\n"
               "\t-fix f         - none (default), x, c or pq (jc only)\n"
               "\t-x v           - x: multiple of the largest distance (default 1); c: the value\n"
               "\t-p0 v -q0 v    - pq: proportions above p0 are mapped so that 1 becomes q0\n"
               "\t-stats         - Report the saturation statistics on standard error\n"
               "\t--help         - Show this message and then quit\n";
  fatal_exit(0);
}

// The value of a word option, which must be one of the choices (in the order of the enum).
int choice(int argc, const char** argv, const char* name, std::initializer_list<const char*> all,
           int fallback) {
  string word;
  if (!getoption(argc, argv, name, word)) return fallback;
  int k = 0;
  for (const char* one : all) {
    if (word == string(one)) return k;
    ++k;
  }
  usage("%s %s: not one of the choices (see --help)", name, word.c_str());
}

void reject_unknown_words(int argc, const char** argv) {
  list<string> rest;
  if (getoption(argc, argv, rest) == 0) return;
  string words;
  for (const string& word : rest) words = words + " " + word;
  usage("unknown option(s):%s", words.c_str());
}

void read_files(int argc, const char** argv, tDistcorrOptions& o) {
  string name;
  if (getoption(argc, argv, "-i", name)) {
    if (name.length() == 0) usage("-i needs a file name");
    o.input = name.c_str();
  }
  if (getoption(argc, argv, "-o", name)) {
    if (name.length() == 0) usage("-o needs a file name");
    o.output = name.c_str();
  }
}

// A float parameter of a policy: given only where the policy takes it.
bool float_option(int argc, const char** argv, const char* name, float& value) {
  double read;
  if (!getoption(argc, argv, name, read)) return false;
  if (!std::isfinite(read)) usage("%s %g: must be a finite number", name, read);
  value = static_cast<float>(read);
  return true;
}

void read_fix(int argc, const char** argv, tCorrectionSettings& c) {
  c.fix = static_cast<tFix>(choice(argc, argv, "-fix", {"none", "x", "c", "pq"}, 0));
  const bool has_x = float_option(argc, argv, "-x", c.x);
  const bool has_p0 = float_option(argc, argv, "-p0", c.p0);
  const bool has_q0 = float_option(argc, argv, "-q0", c.q0);
  if (has_x && c.fix != tFix::x && c.fix != tFix::c) usage("-x applies to -fix x and -fix c");
  if ((has_p0 || has_q0) && c.fix != tFix::pq) usage("-p0 and -q0 apply to -fix pq");
  if (c.fix == tFix::c && !has_x) usage("-fix c needs the value -x");
  if (c.fix == tFix::pq && !(has_p0 && has_q0)) usage("-fix pq needs -p0 and -q0");
  if (c.x < 0) usage("-x %g: must be at least 0 (-fix none keeps the saturated pairs)", c.x);
}

void read_model(int argc, const char** argv, tCorrectionSettings& c) {
  c.model = static_cast<tModel>(choice(argc, argv, "-model", {"jc", "k2p"}, 0));
  const bool has_states = getoption(argc, argv, "-states", c.states);
  const bool has_alpha = getoption(argc, argv, "-alpha", c.alpha);
  if (c.model == tModel::jc && has_alpha) usage("-alpha applies to -model k2p");
  if (c.model == tModel::k2p && has_states) usage("-states applies to -model jc");
  if (c.model == tModel::k2p && !has_alpha) usage("-model k2p needs the gamma shape -alpha");
  if (c.model == tModel::k2p && !(c.alpha > 0 && std::isfinite(c.alpha)))
    usage("-alpha %g: must be a finite number above 0", c.alpha);
  if (c.states < 2) usage("-states %d: must be at least 2", c.states);
}

// The compression must keep every value it corrects below the saturation level (s-1)/s.
void check_compression(const tCorrectionSettings& c) {
  if (c.fix != tFix::pq) return;
  if (c.model != tModel::jc) usage("-fix pq applies to -model jc");
  const double level = static_cast<double>(c.states - 1) / c.states;
  if (!(c.p0 >= 0 && c.p0 < level)) usage("-p0 %g: must be at least 0 and below %g", c.p0, level);
  if (!(c.q0 >= 0 && c.q0 < level)) usage("-q0 %g: must be at least 0 and below %g", c.q0, level);
}

}  // namespace

tDistcorrOptions parse_distcorr_options(int argc, const char** argv) {
  if (getoption(argc, argv, "--help")) usage_text();
  tDistcorrOptions o;
  read_files(argc, argv, o);
  o.format = static_cast<tFormat>(choice(argc, argv, "-format", {"auto", "fasta", "phylip"}, 0));
  o.deletion = static_cast<tDeletion>(choice(argc, argv, "-deletion", {"global", "pairwise"}, 0));
  read_model(argc, argv, o.correction);
  read_fix(argc, argv, o.correction);
  check_compression(o.correction);
  o.stats = getoption(argc, argv, "-stats");
  reject_unknown_words(argc, argv);
  return o;
}
