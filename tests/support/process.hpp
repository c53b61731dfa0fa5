// Runs a built program as a child process, for the tests that check it from outside: its exit
// status or signal and what it wrote.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

struct tRun {
  bool timed_out = false;
  int signal = 0;   // the signal that ended the run, 0 when it exited
  int status = -1;  // the exit status when it exited
  std::string out;  // empty when standard output went to a named file
  std::string err;
};

struct tRunSetup {
  std::string stdin_path = "/dev/null";
  std::string stdout_path;  // a scratch file, read into tRun::out, when empty
  std::string directory = ".";
  // Far beyond what any run of the tests needs, also under the sanitizers and valgrind.
  std::chrono::seconds time_limit = std::chrono::seconds(120);
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A scratch path named after the running test, so tests may run in parallel.
inline std::string scratch(const std::string& name) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  return testing::TempDir() + test->test_suite_name() + "." + test->name() + "_" + name;
}

// The blank-separated words of text.
inline std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> result;
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

namespace process_detail {

// In the child: the directory and the three standard streams, then the program; 127 if any fails.
[[noreturn]] inline void become(const std::string& program, std::vector<char*>& argv,
                                const tRunSetup& setup, const std::string& out_path,
                                const std::string& err_path) {
  if (chdir(setup.directory.c_str()) != 0) _exit(127);
  const int in = open(setup.stdin_path.c_str(), O_RDONLY);
  const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in >= 0 && out >= 0 && err >= 0 && dup2(in, 0) >= 0 && dup2(out, 1) >= 0 && dup2(err, 2) >= 0)
    execv(program.c_str(), argv.data());
  _exit(127);
}

}  // namespace process_detail

// Runs program with arguments as setup says, killing it when it overruns the time limit.
inline tRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                        const tRunSetup& setup = tRunSetup()) {
  const std::string out_path = setup.stdout_path.empty() ? scratch("stdout") : setup.stdout_path;
  const std::string err_path = scratch("stderr");
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  tRun result;
  const pid_t pid = fork();
  if (pid < 0) {
    ADD_FAILURE() << "cannot start " << program;
    return result;
  }
  if (pid == 0) process_detail::become(program, argv, setup, out_path, err_path);

  const auto deadline = std::chrono::steady_clock::now() + setup.time_limit;
  int wait_status = 0;
  while (waitpid(pid, &wait_status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      result.timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) result.signal = WTERMSIG(wait_status);
  if (setup.stdout_path.empty()) result.out = slurp(out_path);
  result.err = slurp(err_path);
  return result;
}
