// The command line of distcorr: files, format, deletion, model, saturation policy, replicates.
#pragma once

#include <cstdint>
#include <string>

#include "distcorr/alignment_input.hpp"
#include "distcorr/correction.hpp"
#include "distcorr/pair_models.hpp"
#include "distcorr/site_planes.hpp"

struct tDistcorrOptions {
  std::string input;     // empty: standard input ("-i -" too)
  std::string output;    // empty: standard output
  std::string variance;  // empty: no variance matrix
  std::string counts;    // empty: no table of pair counts
  tFormat format = tFormat::automatic;
  tDeletion deletion = tDeletion::global;
  tModelParameters model;  // the base frequencies are the alignment's, filled later
  tFixSettings fix;
  bool stats = false;
  long bootstrap = 0;  // replicate matrices after the alignment's own
  std::uint64_t seed = 0;
  int threads = 0;  // 0: every usable core
};

// Scans the command line; -h, -help and --help write the help and exit with status 0. Unknown
// words, values that do not convert in full or lie out of range, unknown choices and
// conflicting options end the run with status 2 and one line naming the option.
tDistcorrOptions parse_distcorr_options(int argc, const char** argv);
