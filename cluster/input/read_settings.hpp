// How expression data are read and prepared: the settings of the reading half of a run.
#pragma once

#include "cluster/input/table_format.hpp"

enum class tMissingPolicy { zero, rowmean, drop };

// The missing-value word of -missing (zero, rowmean, drop); false for another word.
bool missing_policy_named(const char* word, tMissingPolicy& policy);

struct tReadSettings {
  tTableFormat format = tTableFormat::automatic;
  tMissingPolicy missing = tMissingPolicy::zero;
  bool log2 = false;
  int top = 0;          // keep the rows of largest variance, this many; 0 keeps every row
  bool center = false;  // subtract each row's mean
  bool zscore = false;  // and divide by its standard deviation
  int verbosity = 0;
};
