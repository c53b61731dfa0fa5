// The command line of trees: a subcommand and its options. Errors in it end the run with
// status 2; -h, -help and --help print the help and end with status 0.
#pragma once

#include <string>

#include "trees/consensus.hpp"
#include "trees/rf_distance.hpp"
#include "trees/scaling.hpp"

enum class tCommand { splits, consensus, support, rf, scale };

struct tTreesOptions {
  tCommand command = tCommand::splits;
  std::string input;   // empty: standard input
  std::string output;  // empty: standard output
  int burnin = 0;
  tConsensusSettings consensus;  // consensus; percent also for support
  std::string target;            // support: the tree to label
  std::string reference;         // rf: one tree to compare every tree with; empty for all pairs
  tRfSettings rf;
  tScaleSettings scale;
};

tTreesOptions parse_trees_options(int argc, const char** argv);
