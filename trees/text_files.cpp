// Reading and writing through the whole-file helpers, with the guards a tree tool needs.
#include "trees/text_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "distcorr/gzip_source.hpp"
#include "distcorr/whole_file.hpp"
#include "lib/diagnostics.hpp"
#include "trees/options.hpp"

namespace {

// Devices and pipes are written in place: replacing them by a regular file would break them.
bool is_special(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

void write_in_place(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) bye("Can't write file %s (%s)", path.c_str(), std::strerror(errno));
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int saved = errno;
      ::close(fd);
      bye("Can't write file %s (%s)", path.c_str(), std::strerror(saved));
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) bye("Can't write file %s (%s)", path.c_str(), std::strerror(errno));
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

tInputText read_input(const std::string& name) {
  tInputText input;
  input.source = name.empty() ? "standard input" : name;
  const int fd = name.empty() ? 0 : ::open(name.c_str(), O_RDONLY);
  if (fd < 0) bye("Can't open file to read: %s (%s)", name.c_str(), std::strerror(errno));
  // A regular file is read into one buffer of its size: growing by doubling copies and faults
  // in every page again.
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) input.text.reserve(st.st_size);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) bye("Can't read %s (%s)", input.source.c_str(), std::strerror(errno));
    if (n == 0) break;
    input.text.append(buffer, static_cast<std::size_t>(n));
  }
  if (fd != 0) ::close(fd);
  if (is_gzip(input.text)) input.text = gunzip(input.text, input.source);
  return input;
}

void write_output(const std::string& path, const std::string& text) {
  if (path.empty())
    write_standard_output(text);
  else if (is_special(path))
    write_in_place(path, text);
  else
    write_whole_file(path, text);
}

void refuse_output_over_input(const std::string& output, const std::vector<std::string>& inputs) {
  if (output.empty() || is_special(output)) return;
  for (const std::string& input : inputs)
    if (!input.empty() && same_file(output, input))
      command_line_error("-o %s: is also an input; the output may not replace it", output.c_str());
}
