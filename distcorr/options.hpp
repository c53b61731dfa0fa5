// The command line of distcorr: input, output, format, deletion, model and saturation policy.
#pragma once

#include <string>

#include "distcorr/alignment.hpp"
#include "distcorr/correction.hpp"
#include "distcorr/site_planes.hpp"

struct tDistcorrOptions {
  std::string input;   // empty: standard input
  std::string output;  // empty: standard output
  tFormat format = tFormat::automatic;
  tDeletion deletion = tDeletion::global;
  tCorrectionSettings correction;
  bool stats = false;
};

// Scans the command line with getoption(); "--help" writes the usage text and exits with
// status 0; unknown words and bad values end through usage().
tDistcorrOptions parse_distcorr_options(int argc, const char** argv);
