// The core's fatal reports and unreadable files as C++ exceptions the module raises in Python.
#include "python/fatal_report.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "lib/diagnostics.hpp"

namespace {

[[noreturn]] void throw_report(int) {
  throw tFatalReport(take_fatal_report());
}

}  // namespace

void throw_fatal_reports() {
  set_fatal_exit(throw_report);
}

void require_readable(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw tFileFault{errno, path};
  struct stat status;
  // A folder opens, but reading it fails later with a less helpful report.
  const int error_number = ::fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  ::close(fd);
  if (error_number != 0) throw tFileFault{error_number, path};
}
