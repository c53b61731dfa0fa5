// Fatal reports become an exception private to the fuzz harness; the code under test throws none.
#include "fuzz/fatal_exit_guard.hpp"

#include <cstdio>
#include <cstdlib>

#include "lib/diagnostics.hpp"

namespace {

struct tFatalExit {
  int status;
};

[[noreturn]] void unwind_to_harness(int status) {
  throw tFatalExit{status};
}

}  // namespace

int run_until_fatal_exit(const std::function<void()>& body) {
  set_fatal_exit(unwind_to_harness);
  try {
    body();
  } catch (const tFatalExit& fatal) {
    return fatal.status;
  }
  return -1;
}

void require(bool condition, const char* text) {
  if (condition) return;
  std::fprintf(stderr, "fuzz harness: broken promise: %s\n", text);
  std::abort();
}
