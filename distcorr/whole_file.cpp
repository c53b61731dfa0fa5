// Writing a file whole or not at all: a temporary file beside the target, then a rename.
#include "distcorr/whole_file.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "lib/diagnostics.hpp"

namespace {

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The permissions a newly created file gets, as if it had been opened with mode 0666.
mode_t created_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

[[noreturn]] void fail(const std::string& path, const char* what, int saved_errno) {
  bye("Can't write file %s: %s (%s)", path.c_str(), what, std::strerror(saved_errno));
}

}  // namespace

void write_whole_file(const std::string& path, const std::string& text) {
  std::string pattern = path + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) fail(path, "cannot create a temporary file beside it", errno);
  const bool written =
      write_all(fd, text) && ::fchmod(fd, created_file_mode()) == 0 && ::fsync(fd) == 0;
  const int write_errno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    ::unlink(name.data());
    fail(path, "writing failed", written ? errno : write_errno);
  }
  if (::rename(name.data(), path.c_str()) != 0) {
    const int rename_errno = errno;
    ::unlink(name.data());
    fail(path, "cannot rename the temporary file to it", rename_errno);
  }
}

void write_standard_output(const std::string& text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    bye("Can't write to standard output (%s)", std::strerror(errno));
}
