#include "lib/parallel.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(Parallel, EveryTaskRunsExactlyOnceWhateverTheThreadCount) {
  for (int threads : {1, 2, 3, 8}) {
    set_thread_count(threads);
    EXPECT_EQ(thread_count(), threads);
    for (int count : {0, 1, 2, 7, 1000}) {
      std::vector<int> calls(count, 0);
      parallel_for(count, [&](int i) { ++calls[i]; });
      EXPECT_EQ(calls, std::vector<int>(count, 1)) << threads << " threads, " << count << " tasks";
    }
  }
  set_thread_count(0);
  EXPECT_EQ(thread_count(), usable_cores());
  EXPECT_GE(usable_cores(), 1);
}
