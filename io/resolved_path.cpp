// Following links by hand, since realpath() refuses a link whose target is not there yet.
#include "io/resolved_path.hpp"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "lib/diagnostics.hpp"

namespace {

constexpr int max_links = 40;  // as the kernel allows in one lookup

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string last_component(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The target of the link at path, relative targets taken from the link's directory.
bool link_target(const std::string& path, std::string& target) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return false;
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) return false;
  target.assign(buffer, static_cast<std::size_t>(length));
  if (target[0] != '/') target = directory_of(path) + "/" + target;
  return true;
}

}  // namespace

std::string resolved_path(const std::string& path) {
  std::string current = path;
  for (int links = 0;; ++links) {
    std::string target;
    if (!link_target(current, target)) break;
    if (links == max_links) bye("%s: too many levels of symbolic links", path.c_str());
    current = target;
  }
  // A name with a trailing slash or a bare "." / ".." names a directory: left to realpath whole.
  const std::string name = last_component(current);
  if (name.empty() || name == "." || name == "..") {
    char* real = ::realpath(current.c_str(), nullptr);
    if (!real) return current;
    std::string whole(real);
    std::free(real);
    return whole;
  }
  char* directory = ::realpath(directory_of(current).c_str(), nullptr);
  if (!directory) return current;
  std::string result(directory);
  std::free(directory);
  return (result == "/" ? result : result + "/") + name;
}
