// Progress reaches a terminal and nothing else: standard error is pointed at a pseudo-terminal,
// then at a pipe.
#include "lib/terminal_progress.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <string>

namespace {

// What the phase writes to standard error while it is the descriptor given.
template <class Phase>
std::string written_to(int descriptor, int reader, Phase phase) {
  const int saved = ::dup(STDERR_FILENO);
  ::dup2(descriptor, STDERR_FILENO);
  phase();
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  ::close(descriptor);
  std::string text;
  char buffer[256];
  ::fcntl(reader, F_SETFL, O_NONBLOCK);
  for (long n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  ::close(reader);
  return text;
}

TEST(TerminalProgress, DrawsOnATerminalOnlyAndEndsItsLine) {
  // One step each, so that the tenth-of-a-second pause between redraws never matters. A terminal
  // turns a line feed into CR LF.
  const struct {
    long total, steps;
    const char* shown;
  } cases[] = {{1, 1, "\rPairs: 1 of 1\r\n"},
               {4, 1, "\rPairs: 1 of 4\r\n"},  // ended by the phase's end
               {5, 0, ""}};
  for (const auto& c : cases) {
    const auto phase = [&] {
      tTerminalProgress progress("Pairs", c.total);
      for (long k = 0; k < c.steps; ++k) progress.advance();
    };
    int master, slave;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(written_to(slave, master, phase), c.shown) << c.total;
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_EQ(written_to(ends[1], ends[0], phase), "") << "a pipe gets no progress";
  }
}

}  // namespace
