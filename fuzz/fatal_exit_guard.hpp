// Lets a fuzz target survive the fatal reports of the code under test, one input at a time.
#pragma once

#include <functional>

// Runs body with fatal_exit turned into an unwind back to here. Returns the exit status of the
// fatal report that ended body (1 for error, bye and usage, 0 for the usage text), or -1 when
// body ran to its end. Destructors of everything body built run on the way out.
int run_until_fatal_exit(const std::function<void()>& body);

// A broken promise of the code under test: the condition text on standard error, then abort,
// which the fuzzer reports as a finding with the input that caused it.
void require(bool condition, const char* text);
