// Tests of the container error handler: banner, indented message, stack trace and abort.
#include "lib/container_error.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace {

using testing::KilledBySignal;
using testing::StartsWith;

// "#NN at 0xADDR in NAME" with the expected frame number and at least eight hex digits.
bool is_frame(const std::string& line, int number) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "#%02d at 0x", number);
  if (line.compare(0, std::strlen(prefix), prefix) != 0) return false;
  std::size_t digits = std::strlen(prefix);
  std::size_t end = line.find_first_not_of("0123456789abcdef", digits);
  return end != std::string::npos && end - digits >= 8 && line.compare(end, 4, " in ") == 0 &&
         line.size() > end + 4;
}

// After the report's empty line, every line is a frame, numbered from 0.
bool is_stack_trace(const std::string& report) {
  std::size_t start = report.find("\n\n", 1);
  if (start == std::string::npos) return false;
  std::istringstream lines(report.substr(start + 2));
  std::string line;
  int number = 0;
  for (; std::getline(lines, line); ++number) {
    if (!is_frame(line, number)) return false;
  }
  return number > 0;
}

TEST(ContainerError, CodeZeroWarnsAndReturns) {
  testing::internal::CaptureStderr();
  container_error(0, "array: something odd");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nVESTA WARNING\n\tarray: something odd\n\n");
}

TEST(ContainerError, PositiveCodesReportAndAbort) {
  EXPECT_EXIT(container_error(1, "general misuse"), KilledBySignal(SIGABRT),
              StartsWith("\nVESTA ERROR HANDLER\n\tgeneral misuse\n\n#00 at 0x"));
  EXPECT_EXIT(container_error(2, "array::entry index out of range"), KilledBySignal(SIGABRT),
              StartsWith("\nVESTA ERROR HANDLER\n\tarray::entry index out of range\n\n"));
  EXPECT_EXIT(container_error(99, "array: out of memory"), KilledBySignal(SIGABRT),
              StartsWith("\nVESTA ERROR HANDLER\n\tarray: out of memory\n\n"));
}

TEST(ContainerError, StackTraceHasOneNumberedLinePerFrame) {
  EXPECT_EXIT(container_error(1, "trace me"), KilledBySignal(SIGABRT),
              testing::Truly(is_stack_trace));
}

TEST(ContainerError, FatalIsCodeOne) {
  EXPECT_EXIT(container_fatal("no way on"), KilledBySignal(SIGABRT),
              StartsWith("\nVESTA ERROR HANDLER\n\tno way on\n\n#00 at 0x"));
  EXPECT_EXIT(container_fatal("traced"), KilledBySignal(SIGABRT), testing::Truly(is_stack_trace));
}

void exit_seven(int) {
  std::_Exit(7);
}

TEST(ContainerError, AbortsEvenWhenAbortIsIntercepted) {
  EXPECT_EXIT(
      {
        std::signal(SIGABRT, exit_seven);
        container_error(1, "intercepted");
      },
      KilledBySignal(SIGABRT), StartsWith("\nVESTA ERROR HANDLER\n\tintercepted\n"));
}

}  // namespace
