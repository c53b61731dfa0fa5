// The words of the reading settings.
#include "cluster/input/read_settings.hpp"

#include <cstring>

bool missing_policy_named(const char* word, tMissingPolicy& policy) {
  if (std::strcmp(word, "zero") == 0)
    policy = tMissingPolicy::zero;
  else if (std::strcmp(word, "rowmean") == 0)
    policy = tMissingPolicy::rowmean;
  else if (std::strcmp(word, "drop") == 0)
    policy = tMissingPolicy::drop;
  else
    return false;
  return true;
}
