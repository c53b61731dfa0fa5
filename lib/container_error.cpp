// The process-wide handler through which every container reports misuse.
#include "lib/container_error.hpp"

#include <cxxabi.h>
#include <execinfo.h>

#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kMaxFrames = 64;

// Handlers installed elsewhere must not catch the abort below or a fault while tracing.
void stop_intercepting_signals() {
  for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, SIG_DFL);
}

// backtrace_symbols gives "object(mangled+offset) [address]"; the mangled part is the name.
std::string function_name(const char* symbol) {
  const char* open = std::strchr(symbol, '(');
  const char* end = open ? std::strpbrk(open + 1, "+)") : nullptr;
  if (!open || !end || end == open + 1) return symbol;
  std::string mangled(open + 1, end);
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status);
  if (status != 0 || !demangled) return mangled;
  std::string name(demangled);
  std::free(demangled);
  return name;
}

// Addresses are printed in full: on 64-bit targets eight digits are the minimum width only.
void write_stack_trace() {
  void* frames[kMaxFrames];
  int n = backtrace(frames, kMaxFrames);
  char** symbols = backtrace_symbols(frames, n);
  for (int i = 0; i < n; ++i) {
    std::string name = symbols ? function_name(symbols[i]) : "??";
    std::fprintf(stderr, "#%02d at 0x%08" PRIxPTR " in %s\n", i,
                 reinterpret_cast<std::uintptr_t>(frames[i]), name.c_str());
  }
  std::free(symbols);
}

}  // namespace

void container_error(int code, const char* message) {
  std::fprintf(stderr, "\n%s\n\t%s\n\n", code != 0 ? "VESTA ERROR HANDLER" : "VESTA WARNING",
               message);
  if (code < 1) return;
  stop_intercepting_signals();
  write_stack_trace();
  std::fflush(stderr);
  std::abort();
}

// Code 1 never returns; the abort only tells the compiler so.
void container_fatal(const char* message) {
  container_error(1, message);
  std::abort();
}
