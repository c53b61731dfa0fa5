// Output files through a temporary beside the target, removed on every early end of the run.
#include "io/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "io/resolved_path.hpp"
#include "io/temporary_files.hpp"
#include "lib/diagnostics.hpp"

namespace {

// The permissions of the finished file: those of the file it replaces, else what open() with
// 0666 gives under the umask.
mode_t final_mode(const struct stat* existing) {
  if (existing) return existing->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool is_standard_output(const string& name) {
  return name == "-";
}

// A replaced file keeps its owner and group where this user may give them (root may, others only
// their own groups); where not, the new file is the user's, as any file rewritten is, and a
// warning says so.
void keep_owner(int fd, const struct stat& existing, const string& name) {
  if (existing.st_uid == ::geteuid() && existing.st_gid == ::getegid()) return;
  if (::fchown(fd, existing.st_uid, existing.st_gid) != 0)
    warning("%s: the replaced file's owner and group could not be kept (%s)", name.c_str(),
            std::strerror(errno));
}

// Writes the file's data to the disk, so that the rename never exposes a partial file.
bool synced(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) return false;
  const bool done = ::fsync(fd) == 0;
  return ::close(fd) == 0 && done;
}

}  // namespace

tOutputFile::tOutputFile(const string& name) : name_(name) {
  if (is_standard_output(name)) {
    stream_ = &std::cout;
    return;
  }
  target_ = resolved_path(name.c_str());
  struct stat info {};
  const bool exists = ::stat(target_.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    file_.open(name.c_str(), std::ios::out | std::ios::trunc);
    if (file_.fail()) bye("Can't open file to write: %s", name.c_str());
    return;
  }
  // A file the user may not write stays refused, as opening it would be.
  if (exists && ::access(target_.c_str(), W_OK) != 0)
    bye("Can't open file to write: %s", name.c_str());
  open_temporary(exists ? &info : nullptr);
}

void tOutputFile::open_temporary(const struct stat* existing) {
  std::string path = target_ + ".XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) bye("Can't open file to write: %s", name_.c_str());
  ticket_ = hold_temporary(path.c_str());
  temporary_ = path;
  // The owner first: changing it may clear the set-id bits of the mode.
  if (existing) keep_owner(fd, *existing, name_);
  const bool moded = ::fchmod(fd, final_mode(existing)) == 0;
  ::close(fd);
  file_.open(path, std::ios::out | std::ios::trunc);
  if (!moded || file_.fail()) bye("Can't open file to write: %s", name_.c_str());
}

tOutputFile::~tOutputFile() {
  if (temporary_.empty() || committed_) return;
  file_.close();
  ::unlink(temporary_.c_str());
  release_temporary(ticket_);
}

void tOutputFile::commit() {
  if (committed_) error("Output file %s committed twice", name_.c_str());
  if (stream_ != &file_) {
    if (!std::cout.flush()) bye("Can't write to standard output");
  } else {
    file_.close();
    if (file_.fail()) bye("Can't write file: %s", name_.c_str());
    if (!temporary_.empty()) replace_target();
  }
  committed_ = true;
}

void tOutputFile::replace_target() {
  if (!synced(temporary_) || std::rename(temporary_.c_str(), target_.c_str()) != 0)
    bye("Can't write file: %s", name_.c_str());
  release_temporary(ticket_);
}

void write_whole_output(const string& name, const std::string& text) {
  tOutputFile file(name.empty() ? string("-") : name);
  file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
  file.commit();
}
