// The run's thread count and the one parallel loop every parallel phase goes through.
#include "lib/parallel.hpp"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

int& configured_threads() {
  static int threads = usable_cores();
  return threads;
}

// Set while this thread runs tasks of a parallel_for: a loop inside a task then runs on its own
// thread only, so nested phases never multiply the threads.
thread_local bool inside_task = false;
// The count of this thread's innermost tThreadCountScope; 0 outside any.
thread_local int scoped_threads = 0;

}  // namespace

int usable_cores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void set_thread_count(int threads) {
  configured_threads() = threads > 0 ? threads : usable_cores();
}

int thread_count() {
  return scoped_threads > 0 ? scoped_threads : configured_threads();
}

tThreadCountScope::tThreadCountScope(int threads) : outer_(scoped_threads) {
  scoped_threads = threads > 0 ? threads : usable_cores();
}

tThreadCountScope::~tThreadCountScope() {
  scoped_threads = outer_;
}

void parallel_workers(int count, const std::function<void(const tTaskSource&)>& worker) {
  const int threads = inside_task ? 1 : std::min(thread_count(), count);
  if (threads <= 1) {
    int i = 0;
    worker([&] { return i < count ? i++ : -1; });
    return;
  }
  // A task that throws (a fatal-exit hook that throws, say) stops the handing out; the first
  // exception reaches the caller once every thread has joined.
  std::atomic<int> next{0};
  const tTaskSource source = [&] {
    const int i = next++;
    return i < count ? i : -1;
  };
  std::exception_ptr failure;
  std::mutex failure_lock;
  const auto work = [&] {
    inside_task = true;
    try {
      worker(source);
    } catch (...) {
      next = count;
      const std::lock_guard<std::mutex> hold(failure_lock);
      if (!failure) failure = std::current_exception();
    }
    inside_task = false;
  };
  std::vector<std::thread> helpers;
  helpers.reserve(threads - 1);
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
}

void parallel_for(int count, const std::function<void(int)>& task) {
  parallel_workers(count, [&](const tTaskSource& next) {
    for (int i = next(); i >= 0; i = next()) task(i);
  });
}
