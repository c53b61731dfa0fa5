// Files compared by identity: two names, links or hard links of one file are one file.
#include "io/path_guard.hpp"

#include <sys/stat.h>

#include <cstddef>

#include "io/resolved_path.hpp"
#include "lib/diagnostics.hpp"

namespace {

enum class tKind { exempt, existing, absent };

struct tIdentity {
  tKind kind = tKind::exempt;
  dev_t device = 0;
  ino_t inode = 0;
  std::string resolved;  // for a file not yet there
};

tIdentity identity_of(const std::string& path) {
  tIdentity identity;
  if (path.empty() || path == "-") return identity;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    // A directory is left to the opening, which names it.
    if (!S_ISREG(info.st_mode)) return identity;
    identity.kind = tKind::existing;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    return identity;
  }
  identity.kind = tKind::absent;
  identity.resolved = resolved_path(path);
  return identity;
}

bool same_file(const tIdentity& a, const tIdentity& b) {
  if (a.kind != b.kind || a.kind == tKind::exempt) return false;
  if (a.kind == tKind::existing) return a.device == b.device && a.inode == b.inode;
  return a.resolved == b.resolved;
}

[[noreturn]] void refuse(const tNamedFile& earlier, const tNamedFile& later) {
  const tNamedFile& output = later.use == tFileUse::output ? later : earlier;
  const tNamedFile& other = later.use == tFileUse::output ? earlier : later;
  if (other.use == tFileUse::input)
    misuse("%s %s is the input file of %s: an output may not replace an input",
           output.option.c_str(), output.path.c_str(), other.option.c_str());
  misuse("%s %s and %s %s are one file: give each output a file of its own", earlier.option.c_str(),
         earlier.path.c_str(), later.option.c_str(), later.path.c_str());
}

}  // namespace

void guard_paths(const std::vector<tNamedFile>& files) {
  std::vector<tIdentity> identities;
  identities.reserve(files.size());
  for (const tNamedFile& file : files) identities.push_back(identity_of(file.path));
  for (std::size_t later = 0; later < files.size(); ++later)
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      const bool both_inputs =
          files[earlier].use == tFileUse::input && files[later].use == tFileUse::input;
      if (!both_inputs && same_file(identities[earlier], identities[later]))
        refuse(files[earlier], files[later]);
    }
}
