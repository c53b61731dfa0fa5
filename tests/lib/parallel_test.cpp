#include "lib/parallel.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
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
  const struct { int asked, expected; } cases[] = {{1, 1}, {3, 3}, {0, usable_cores()}};
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

TEST(Parallel, AThrowingTaskStopsTheLoopAndReachesTheCaller) {
  for (int threads : {1, 2, 3}) {
    set_thread_count(threads);
    std::vector<int> calls(50, 0);
    bool caught = false;
    try {
      parallel_for(50, [&](int i) {
        if (i == 3) throw 7;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ++calls[i];
      });
    } catch (int thrown) {
      caught = thrown == 7;
    }
    EXPECT_TRUE(caught) << threads << " threads";
    int done = 0;
    for (int c : calls) done += c;
    EXPECT_LT(done, 49) << threads << " threads";  // the loop stops handing out tasks
    // The threads are joined and the next loop runs every task.
    std::vector<int> again(20, 0);
    parallel_for(20, [&](int i) { ++again[i]; });
    EXPECT_EQ(again, std::vector<int>(20, 1)) << threads << " threads";
  }
  set_thread_count(0);
}

TEST(Parallel, EachThreadsStateServesOnlyThatThreadAndEveryIndexRunsOnce) {
  for (int threads : {1, 2, 3}) {
    set_thread_count(threads);
    for (int count : {0, 1, 5, 500}) {
      std::mutex lock;
      std::vector<std::thread::id> owners;  // the thread of each state made
      std::vector<int> calls(count, 0);
      parallel_for_with_state(
          count,
          [&] {
            const std::lock_guard<std::mutex> hold(lock);
            owners.push_back(std::this_thread::get_id());
            return static_cast<int>(owners.size()) - 1;
          },
          [&](int state, int i) {
            ++calls[i];
            const std::lock_guard<std::mutex> hold(lock);
            EXPECT_EQ(owners[state], std::this_thread::get_id()) << "a state crossed threads";
          });
      EXPECT_EQ(calls, std::vector<int>(count, 1)) << threads << " threads, " << count;
      EXPECT_LE(static_cast<int>(owners.size()), std::max(1, std::min(threads, count)));
    }
  }
  set_thread_count(0);
}
