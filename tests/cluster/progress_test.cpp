// The progress lines of the run: each written and flushed only above verbosity 3.
#include "cluster/progress.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Two passes of a k-svd run as the clustering reports them.
std::string two_passes(int verbosity) {
  std::ostringstream out;
  tClusteringProgress progress(out, verbosity);
  progress.placing(1);
  progress.updating(1);
  progress.passed(1, 0.1234567, 25.0);
  progress.placing(2);
  progress.updating(2);
  progress.passed(2, 25.0, 25.0);
  return out.str();
}

TEST(Progress, ClusteringPassesAtVerbosityFour) {
  EXPECT_EQ(two_passes(4),
            "reset clusters for next round\nupdate the means\n0.123457 25\n"
            "reset clusters for next round\nupdate the means\n25 25\n");
}

TEST(Progress, NothingBelowVerbosityFour) {
  for (int verbosity : {0, 3}) EXPECT_EQ(two_passes(verbosity), "") << verbosity;
}

}  // namespace
