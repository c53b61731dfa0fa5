// Independent tasks side by side on the run's threads. Every task writes only its own results,
// so what is computed never depends on how many threads ran.
#pragma once

#include <functional>

// The threads parallel_for uses from now on; 0 means every core the process may use.
void set_thread_count(int threads);
// At least 1: the calling thread's own count while a tThreadCountScope lives on it, else the
// count set_thread_count gave (every usable core until it is called).
int thread_count();

// Gives the calling thread its own thread count while the scope lives (0: every usable core), so
// that callers on several threads each run their work on the threads they asked for.
class tThreadCountScope {
 public:
  explicit tThreadCountScope(int threads);
  ~tThreadCountScope();
  tThreadCountScope(const tThreadCountScope&) = delete;
  tThreadCountScope& operator=(const tThreadCountScope&) = delete;

 private:
  int outer_;  // the calling thread's count before the scope (0: none)
};
// The cores this process may run on (its affinity mask), at least 1.
int usable_cores();

// Calls task(i) once for every i in [0, count) and returns when all calls are done. Tasks are
// handed out one at a time, so calls of unequal cost still share the threads evenly.
// A parallel_for inside a task runs its calls in order on the task's thread.
// A task that throws stops the loop: the calls under way finish, no further call starts, and
// the first exception is rethrown to the caller.
// REQUIRES: tasks do not depend on each other's results.
void parallel_for(int count, const std::function<void(int)>& task);

// A thread's share of a parallel loop: each call gives the next index it is to run, then -1.
using tTaskSource = std::function<int()>;
// The loop behind parallel_for: worker(next) runs once on each thread taking part and runs the
// indices next() hands it, every index of [0, count) going to exactly one thread. A worker that
// throws stops the handing out; the first exception reaches the caller after the join.
void parallel_workers(int count, const std::function<void(const tTaskSource&)>& worker);

// parallel_for with a state of each thread's own: a thread taking part makes one with
// make_state() and hands it to every task(state, i) it runs, so a cache in it needs no lock.
// REQUIRES: what a task computes does not depend on the state's history.
template <class MakeState, class Task>
void parallel_for_with_state(int count, MakeState make_state, Task task) {
  parallel_workers(count, [&](const tTaskSource& next) {
    auto state = make_state();
    for (int i = next(); i >= 0; i = next()) task(state, i);
  });
}
