// Runs the built floatprobe and checks its whole output and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

TEST(FloatProbe, WritesInfinityThenHelloAndSucceeds) {
  FILE* pipe = popen(FLOATPROBE_PATH, "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  int status = pclose(pipe);
  EXPECT_EQ(output, "inf\nhello\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
