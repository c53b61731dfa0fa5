// Fuzzes the initial-assignment reader. The input's first line holds the run's row count and
// cluster count (missing or out of range: 4 and 2); the rest is the file's text.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cluster/label_files.hpp"
#include "cluster/limits.hpp"
#include "fuzz/fatal_exit_guard.hpp"
#include "lib/string.hpp"

namespace {

// The reader takes a file name: the text goes to an anonymous in-memory file, named through
// /proc, so nothing is left on disk.
class tMemoryFile {
 public:
  tMemoryFile() : fd_(memfd_create("initial_assignment", 0)) {
    require(fd_ >= 0, "memfd_create");
    name_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~tMemoryFile() { close(fd_); }
  tMemoryFile(const tMemoryFile&) = delete;
  tMemoryFile& operator=(const tMemoryFile&) = delete;

  void hold(const std::string& text) {
    require(ftruncate(fd_, 0) == 0, "ftruncate");
    std::size_t written = 0;
    while (written < text.size()) {
      const ssize_t n =
          pwrite(fd_, text.data() + written, text.size() - written, static_cast<off_t>(written));
      require(n > 0, "pwrite");
      written += static_cast<std::size_t>(n);
    }
  }
  const std::string& name() const { return name_; }

 private:
  int fd_;
  std::string name_;
};

long number_or(const char*& p, long fallback, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(p, &end, 10);
  if (end == p) return fallback;
  p = end;
  return value < low || value > high ? fallback : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static tMemoryFile file;
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t newline = std::min(input.find('\n'), input.size());
  const std::string header = input.substr(0, newline);
  const char* p = header.c_str();
  const int rows = static_cast<int>(number_or(p, 4, 0, max_rows));
  const int k = static_cast<int>(number_or(p, 2, 1, max_num_clusters));
  file.hold(input.substr(std::min(newline + 1, input.size())));

  run_until_fatal_exit([&] {
    const array<int> assignment = read_initial_assignment(string(file.name().c_str()), rows, k);
    require(assignment.size() == rows, "one label per row");
    for (int label : assignment) require(label >= 0 && label < k, "every label within 0 .. k-1");
  });
  return 0;
}
