// The assertion helper reports exactly as assert does, with the given text as the condition.
#include "lib/assertion.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cassert>
#include <csignal>
#include <cstdlib>
#include <string>

namespace {

// Both fail on the line after their own first, so only the condition texts differ.
const int helper_line = __LINE__ + 2;
void helper_fails(int n) {
  TOOLKIT_ASSERT(n >= 0, "n >= 0");
}
const int assert_line = __LINE__ + 2;
void assert_fails(int n) {
  assert(n >= 0);
}

// The report's text after the program name.
std::string report(int line, const char* function) {
  return std::string(": ") + __FILE__ + ":" + std::to_string(line) + ": " + function +
         ": Assertion `n >= 0' failed.\n";
}

TEST(AssertionDeathTest, TheHelperReportsAsAssertDoes) {
  using testing::EndsWith;
  EXPECT_EXIT(assert_fails(-1), testing::KilledBySignal(SIGABRT),
              EndsWith(report(assert_line, "void {anonymous}::assert_fails(int)")));
  EXPECT_EXIT(helper_fails(-1), testing::KilledBySignal(SIGABRT),
              EndsWith(report(helper_line, "void {anonymous}::helper_fails(int)")));
}

TEST(AssertionDeathTest, AConditionThatHoldsGoesOn) {
  EXPECT_EXIT(
      {
        helper_fails(0);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
