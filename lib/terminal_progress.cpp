// Progress lines on a terminal's standard error.
#include "lib/terminal_progress.hpp"

#include <unistd.h>

#include <cstdio>
#include <utility>

namespace {

constexpr std::chrono::milliseconds kRedraw{100};

}  // namespace

tTerminalProgress::tTerminalProgress(std::string what, long total)
    : what_(std::move(what)), total_(total), shown_(::isatty(STDERR_FILENO) != 0) {}

tTerminalProgress::~tTerminalProgress() {
  if (drawn_ && !ended_) std::fputc('\n', stderr);
}

void tTerminalProgress::advance(long steps) {
  if (!shown_) return;
  done_ += steps;
  const auto now = std::chrono::steady_clock::now();
  const std::lock_guard<std::mutex> hold(lock_);
  const long done = done_;  // the latest count, whichever thread draws
  if (ended_ || (now < next_ && done < total_)) return;
  next_ = now + kRedraw;
  draw(done);
}

void tTerminalProgress::draw(long done) {
  std::fprintf(stderr, "\r%s: %ld of %ld", what_.c_str(), done, total_);
  drawn_ = true;
  if (done >= total_) {
    std::fputc('\n', stderr);
    ended_ = true;
  }
  std::fflush(stderr);
}
