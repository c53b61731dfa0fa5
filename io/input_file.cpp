// Named inputs: refused with the reason before any reader meets them.
#include "io/input_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <vector>

#include "io/input_bytes.hpp"
#include "lib/diagnostics.hpp"

namespace {

// The file's kind by its open descriptor, so that what is checked is what is read.
void check_opened(const char* name, tInputNeed need) {
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // An absent file keeps the message without a reason that scripts may match.
    if (errno == ENOENT) bye("Can't open file to read: %s", name);
    bye("Can't open file to read: %s (%s)", name, std::strerror(errno));
  }
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  ::close(fd);
  if (!known) bye("Can't open file to read: %s (%s)", name, std::strerror(errno));
  if (S_ISDIR(info.st_mode)) bye("Can't read %s: it is a directory, not a file", name);
  if (need == tInputNeed::content && S_ISREG(info.st_mode) && info.st_size == 0)
    bye("Can't read %s: the file is empty", name);
}

// The bytes from the source's position to its end where the source can seek (a regular file),
// else 0. The position is left where it was.
std::size_t remaining_size(std::istream& source) {
  std::streambuf* buffer = source.rdbuf();
  const std::streampos here = buffer->pubseekoff(0, std::ios::cur, std::ios::in);
  if (here == std::streampos(-1)) return 0;
  const std::streampos end = buffer->pubseekoff(0, std::ios::end, std::ios::in);
  buffer->pubseekpos(here, std::ios::in);
  return end > here ? static_cast<std::size_t>(end - here) : 0;
}

}  // namespace

tInputFile::tInputFile(const string& name, tInputNeed need) : name_(name) {
  if (name == "-") {
    stream_ = &std::cin;
    return;
  }
  check_opened(name.c_str(), need);
  file_.open(name.c_str(), std::ios::in | std::ios::binary);
  if (file_.fail()) bye("Can't open file to read: %s", name.c_str());
}

std::string read_whole(std::istream& source, const string& label) {
  tInputBytes bytes(source, label);
  std::string text;
  // Room for a plain file at once: growing by doubling copies the text into fresh pages again
  // and again, which costs more than reading it. Inflated data still grow from there.
  if (!bytes.compressed()) text.reserve(bytes.head(0).size() + remaining_size(source));
  std::vector<char> block(1 << 16);
  std::istream& in = bytes.stream();
  do {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    text.append(block.data(), static_cast<std::size_t>(in.gcount()));
  } while (in);
  if (source.bad()) bye("Can't read %s", label.c_str());
  return text;
}

std::string read_whole_input(const string& name) {
  const bool standard = name.empty() || name == "-";
  tInputFile file(standard ? string("-") : name);
  return read_whole(file.stream(), standard ? string("standard input") : name);
}
