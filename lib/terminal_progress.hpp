// How far a long phase has come, shown on standard error only when that is a terminal, so that
// files and pipes never receive it.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

class tTerminalProgress {
 public:
  // A phase of total steps, shown as "\r<what>: <done> of <total>"; the line is ended when the
  // last step is done or, failing that, when the phase ends.
  tTerminalProgress(std::string what, long total);
  ~tTerminalProgress();
  tTerminalProgress(const tTerminalProgress&) = delete;
  tTerminalProgress& operator=(const tTerminalProgress&) = delete;

  // Any thread may call it; the line is redrawn at most ten times a second, and at the end.
  void advance(long steps = 1);

 private:
  void draw(long done);

  const std::string what_;
  const long total_;
  const bool shown_;  // standard error is a terminal
  std::atomic<long> done_{0};
  std::mutex lock_;
  std::chrono::steady_clock::time_point next_;  // the earliest time of the next redraw
  bool drawn_ = false, ended_ = false;
};
