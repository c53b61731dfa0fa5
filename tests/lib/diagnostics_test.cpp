// Tests of the fatal reports, warnings and the switchable progress channel.
#include "lib/diagnostics.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace {

using testing::Eq;
using testing::ExitedWithCode;
using testing::MatchesRegex;

// Each test starts and ends with the channel on, as a program does.
class Diagnostics : public testing::Test {
 protected:
  void SetUp() override { messages(true); }
  void TearDown() override { messages(true); }

  template <class F>
  static std::string stderr_of(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
  }
};

TEST_F(Diagnostics, FatalReportsCarryTheirPrefixAndExitWithStatusOne) {
  EXPECT_EXIT(error("Malloc(%ld): out of memory", 16L), ExitedWithCode(1),
              Eq("\nFatal Error: Malloc(16): out of memory\n"));
  EXPECT_EXIT(bye("cannot open %s", "data.txt"), ExitedWithCode(1),
              Eq("\nError: cannot open data.txt\n"));
  EXPECT_EXIT(usage("unknown option %s", "-q"), ExitedWithCode(1),
              Eq("\nUsage: unknown option -q\n"));
}

[[noreturn]] void exit_with_status_plus_forty(int status) {
  std::_Exit(status + 40);
}
void return_at_once(int) {}

TEST_F(Diagnostics, FatalReportsLeaveThroughTheInstalledExitHandler) {
  EXPECT_EXIT(
      {
        set_fatal_exit(exit_with_status_plus_forty);
        bye("gone");
      },
      ExitedWithCode(41), Eq("\nError: gone\n"));
  // A handler that returns, and the null handler, both leave through std::exit.
  EXPECT_EXIT(
      {
        set_fatal_exit(return_at_once);
        usage("twice");
      },
      ExitedWithCode(1), Eq("\nUsage: twice\n"));
  EXPECT_EXIT(
      {
        set_fatal_exit(exit_with_status_plus_forty);
        set_fatal_exit(nullptr);
        fatal_exit(0);
      },
      ExitedWithCode(0), Eq(""));
}

struct tThrownReport {
  int status;
};
[[noreturn]] void throw_status(int status) {
  throw tThrownReport{status};
}

// What a report leaves for take_fatal_report when the handler throws, on this thread and on
// another one.
TEST_F(Diagnostics, AThrowingHandlerFindsTheReportTextOnceOnItsThread) {
  const std::string long_text(2000, 'y');
  const struct {
    void (*report)(const char*);
    std::string expected;
  } cases[] = {
      {[](const char* s) { error("Malloc(%s)", s); }, "Malloc(16)"},
      {[](const char* s) { bye("cannot open %s", s); }, "cannot open 16"},
      {[](const char* s) { usage("-k %s: too large", s); }, "-k 16: too large"},
  };
  set_fatal_exit(throw_status);
  for (const auto& c : cases) {
    std::string text, elsewhere = "unset";
    testing::internal::CaptureStderr();
    try {
      c.report("16");
    } catch (const tThrownReport& thrown) {
      EXPECT_EQ(thrown.status, 1);
      text = take_fatal_report();
    }
    EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::EndsWith(c.expected + "\n"))
        << "still written";
    std::thread([&] { elsewhere = take_fatal_report(); }).join();
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(elsewhere, "");
    EXPECT_EQ(take_fatal_report(), "") << "taken once";
  }
  testing::internal::CaptureStderr();
  try {
    bye("%s", long_text.c_str());
  } catch (const tThrownReport&) {
    EXPECT_EQ(take_fatal_report(), long_text.substr(0, 1023)) << "cut, never overrun";
  }
  EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::EndsWith(long_text + "\n"));
  set_fatal_exit(nullptr);
}

TEST_F(Diagnostics, FatalReportsIgnoreTheChannelSwitch) {
  messages(false);
  EXPECT_EXIT(error("x=%d", 3), ExitedWithCode(1), Eq("\nFatal Error: x=3\n"));
}

TEST_F(Diagnostics, FatalReportStartsOnAFreshLineAfterAPartialMessage) {
  EXPECT_EXIT(
      {
        message("working");
        bye("disk full");
      },
      ExitedWithCode(1), Eq("working\nError: disk full\n"));
}

TEST_F(Diagnostics, WarningIsWrittenWhateverTheChannelHolds) {
  EXPECT_EQ(stderr_of([] { warning("%d rows ignored", 2); }), "\nWarning: 2 rows ignored\n");
  messages(false);
  EXPECT_EQ(stderr_of([] { warning("late"); }), "\nWarning: late\n");
}

TEST_F(Diagnostics, DivertedWarningsReachTheSinkWholeAndOnlyOnTheirThread) {
  std::string kept;
  const warning_sink keep = [](void* into, const char* text) {
    *static_cast<std::string*>(into) += text;
  };
  divert_warnings(keep, &kept);
  EXPECT_EQ(stderr_of([] { warning("pass %d lowered %s", 3, std::string(300, 'x').c_str()); }), "");
  std::string other_thread;
  std::thread([&] { other_thread = stderr_of([] { warning("elsewhere"); }); }).join();
  divert_warnings(nullptr, nullptr);
  EXPECT_EQ(kept, "\nWarning: pass 3 lowered " + std::string(300, 'x') + "\n");
  EXPECT_EQ(other_thread, "\nWarning: elsewhere\n");
  EXPECT_EQ(stderr_of([] { warning("back"); }), "\nWarning: back\n");
}

TEST_F(Diagnostics, MessagesAreWrittenExactlyOnlyWhileSwitchedOn) {
  EXPECT_TRUE(show_messages);
  messages(false);
  EXPECT_FALSE(show_messages);
  EXPECT_EQ(stderr_of([] {
              message("x");
              message('c');
              message(42);
            }),
            "");
  messages(true);
  EXPECT_EQ(stderr_of([] {
              message("x");
              message("%s=%d;", "k", 5);
              message('c');
              message(-42);
            }),
            "xk=5;c-42");
}

TEST_F(Diagnostics, ShowTimeWritesProcessorSecondsThroughTheChannel) {
  EXPECT_THAT(stderr_of([] { show_time(); }), MatchesRegex("Time: +[0-9]+\\.[0-9][0-9] sec\n"));
  messages(false);
  EXPECT_EQ(stderr_of([] { show_time(); }), "");
}

}  // namespace
