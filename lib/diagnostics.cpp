// Fatal errors, warnings and the switchable progress channel, all on standard error.
#include "lib/diagnostics.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

bool show_messages = true;

namespace {

fatal_exit_handler installed_fatal_exit = nullptr;
thread_local warning_sink diverted_sink = nullptr;
thread_local void* diverted_context = nullptr;
// Kept in place without allocating, so that a report of exhausted memory is kept too; a longer
// message is cut to fit.
thread_local char latest_fatal_report[1024];

// The prefix, the formatted text and an end of line, on standard error.
void write_report(const char* prefix, const char* format, std::va_list args) {
  std::fputs(prefix, stderr);
  std::vfprintf(stderr, format, args);
  std::fputc('\n', stderr);
}

[[noreturn]] void report_and_exit(const char* prefix, const char* format, std::va_list args,
                                  int status = 1) {
  std::va_list kept;
  va_copy(kept, args);
  std::vsnprintf(latest_fatal_report, sizeof latest_fatal_report, format, kept);
  va_end(kept);
  write_report(prefix, format, args);
  fatal_exit(status);
}

}  // namespace

void set_fatal_exit(fatal_exit_handler handler) {
  installed_fatal_exit = handler;
}

void fatal_exit(int status) {
  if (installed_fatal_exit) installed_fatal_exit(status);
  std::exit(status);
}

std::string take_fatal_report() {
  std::string text = latest_fatal_report;
  latest_fatal_report[0] = '\0';
  return text;
}

void error(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  report_and_exit("\nFatal Error: ", format, args);
}

void bye(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  report_and_exit("\nError: ", format, args);
}

void usage(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  report_and_exit("\nUsage: ", format, args);
}

void misuse(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  report_and_exit("\nUsage: ", format, args, 2);
}

void divert_warnings(warning_sink sink, void* context) {
  diverted_sink = sink;
  diverted_context = context;
}

void pass_on_warning(const char* text) {
  if (diverted_sink)
    diverted_sink(diverted_context, text);
  else
    std::fputs(text, stderr);
}

void warning(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  if (diverted_sink) {
    std::va_list sized;
    va_copy(sized, args);
    const int length = std::vsnprintf(nullptr, 0, format, sized);
    va_end(sized);
    std::string text = "\nWarning: ";
    std::string body(length > 0 ? length : 0, '\0');
    std::vsnprintf(&body[0], body.size() + 1, format, args);
    diverted_sink(diverted_context, (text + body + "\n").c_str());
  } else {
    write_report("\nWarning: ", format, args);
  }
  va_end(args);
}

void messages(bool on) {
  show_messages = on;
}

void message(const char* format, ...) {
  if (!show_messages) return;
  std::va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fflush(stderr);
}

void message(char c) {
  if (!show_messages) return;
  std::fputc(c, stderr);
  std::fflush(stderr);
}

void message(int i) {
  if (!show_messages) return;
  std::fprintf(stderr, "%d", i);
  std::fflush(stderr);
}

// The processor clock ticks 1,000,000 times a second on every platform we build for.
void show_time() {
  message("Time: %5.2f sec\n", static_cast<double>(std::clock()) / 1000000.0);
}
