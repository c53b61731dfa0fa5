#include "lib/parallel.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
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

TEST(Parallel, AScopeGivesTheCallingThreadItsOwnCountUntilItEnds) {
  set_thread_count(2);
  const struct {
    int asked, expected;
  } cases[] = {{1, 1}, {3, 3}, {0, usable_cores()}};
  for (const auto& c : cases) {
    {
      const tThreadCountScope scope(c.asked);
      EXPECT_EQ(thread_count(), c.expected) << c.asked;
      int elsewhere = 0;
      std::thread([&] { elsewhere = thread_count(); }).join();
      EXPECT_EQ(elsewhere, 2) << "another thread keeps the count set for all";
      {
        const tThreadCountScope inner(5);
        EXPECT_EQ(thread_count(), 5);
      }
      EXPECT_EQ(thread_count(), c.expected) << "an inner scope restores the outer count";
    }
    EXPECT_EQ(thread_count(), 2) << c.asked;
  }
  set_thread_count(0);
}

TEST(Parallel, ATaskThatThrowsReachesTheCallerAndTheLoopStaysUsable) {
  for (int threads : {1, 2, 4}) {
    set_thread_count(threads);
    for (int failing : {0, 5, 999}) {
      std::atomic<int> ran{0};
      try {
        parallel_for(1000, [&](int i) {
          ++ran;
          if (i == failing) throw std::runtime_error("task " + std::to_string(i));
        });
        ADD_FAILURE() << "no exception from task " << failing;
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "task " + std::to_string(failing));
      }
      EXPECT_GE(ran.load(), failing + 1 - threads) << threads << " threads";
      std::vector<int> calls(100, 0);
      parallel_for(100, [&](int i) { ++calls[i]; });
      EXPECT_EQ(calls, std::vector<int>(100, 1)) << threads << " threads, after task " << failing;
    }
  }
  set_thread_count(0);
}
