// Independent tasks side by side on the run's threads. Every task writes only its own results,
// so what is computed never depends on how many threads ran.
#pragma once

#include <functional>

// The threads parallel_for uses from now on; 0 means every core the process may use.
void set_thread_count(int threads);
// At least 1; every usable core until set_thread_count is called.
int thread_count();
// The cores this process may run on (its affinity mask), at least 1.
int usable_cores();

// Calls task(i) once for every i in [0, count) and returns when all calls are done. Tasks are
// handed out one at a time, so calls of unequal cost still share the threads evenly.
// A parallel_for inside a task runs its calls in order on the task's thread.
// A task that throws stops the loop: the calls under way finish, no further call starts, and
// the first exception is rethrown to the caller.
// REQUIRES: tasks do not depend on each other's results.
void parallel_for(int count, const std::function<void(int)>& task);
