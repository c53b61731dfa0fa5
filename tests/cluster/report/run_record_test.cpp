// The command line in the report pastes back into a shell unchanged.
#include "cluster/report/run_record.hpp"

#include <gtest/gtest.h>

namespace {

TEST(RunRecord, CommandLineQuotesWhatTheShellWouldChange) {
  const char* argv[] = {"clusterer", "-i", "my data.txt", "-t2", "0.5", "it's", "", "a*"};
  EXPECT_EQ(command_line_of(8, argv), "clusterer -i 'my data.txt' -t2 0.5 'it'\\''s' '' 'a*'");
}

}  // namespace
