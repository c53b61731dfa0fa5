// Output files through a temporary beside the target, removed on every early end of the run.
#include "io/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lib/diagnostics.hpp"

namespace {

// Temporaries not yet committed. bye() and usage() leave through exit() without unwinding, so an
// exit handler removes them; the list is never destroyed, so it outlives that handler.
std::vector<std::string>& pending_temporaries() {
  static auto* pending = new std::vector<std::string>;
  return *pending;
}

void remove_pending_temporaries() {
  for (const std::string& path : pending_temporaries()) ::unlink(path.c_str());
  pending_temporaries().clear();
}

void add_pending(const std::string& path) {
  static const bool registered = std::atexit(remove_pending_temporaries) == 0;
  if (!registered) bye("Can't arrange the removal of temporary file %s", path.c_str());
  pending_temporaries().push_back(path);
}

void drop_pending(const std::string& path) {
  std::vector<std::string>& pending = pending_temporaries();
  for (std::size_t i = 0; i < pending.size(); ++i)
    if (pending[i] == path) {
      pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
}

// The permissions of the finished file: those of the file it replaces, else 0664 less the umask
// (what a file created by open() with 0664 gets).
mode_t final_mode(const struct stat* existing) {
  if (existing) return existing->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0664 & ~mask;
}

}  // namespace

tOutputFile::tOutputFile(const string& name) : name_(name) {
  struct stat info {};
  const bool exists = ::stat(name.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    stream_.open(name.c_str(), std::ios::out | std::ios::trunc);
    if (stream_.fail()) bye("Can't open file to write: %s", name.c_str());
    return;
  }
  // A file the user may not write stays refused, as opening it would be.
  if (exists && ::access(name.c_str(), W_OK) != 0)
    bye("Can't open file to write: %s", name.c_str());
  // A symbolic link keeps pointing at the file it names: that file is replaced.
  if (exists) {
    char* real = ::realpath(name.c_str(), nullptr);
    if (real) target_ = real;
    std::free(real);
  }
  if (target_.empty()) target_ = name;
  std::string path = std::string(target_.c_str()) + ".XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) bye("Can't open file to write: %s", name.c_str());
  add_pending(path);
  const bool moded = ::fchmod(fd, final_mode(exists ? &info : nullptr)) == 0;
  ::close(fd);
  stream_.open(path, std::ios::out | std::ios::trunc);
  if (!moded || stream_.fail()) bye("Can't open file to write: %s", name.c_str());
  temporary_ = path.c_str();
}

tOutputFile::~tOutputFile() {
  if (temporary_.empty() || committed_) return;
  stream_.close();
  ::unlink(temporary_.c_str());
  drop_pending(temporary_.c_str());
}

void tOutputFile::commit() {
  if (committed_) error("Output file %s committed twice", name_.c_str());
  stream_.close();
  if (stream_.fail()) bye("Can't write file: %s", name_.c_str());
  committed_ = true;
  if (temporary_.empty()) return;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
    bye("Can't write file: %s", name_.c_str());
  drop_pending(temporary_.c_str());
}
