// The check, before any file is read or written, that no output replaces an input or another
// output.
#pragma once

#include <string>
#include <vector>

enum class tFileUse { input, output };

struct tNamedFile {
  std::string option;  // as the command line gives it, e.g. "-o2"
  std::string path;    // empty or "-": standard input or output, never checked
  tFileUse use;
};

// Ends the run through misuse() (status 2), one line naming both options, when an output is an
// input or another output: the same device and inode, or, for a file not yet there, the same
// resolved path (io/resolved_path.hpp), symbolic links followed. Devices, pipes and sockets are
// exempt, and so are two inputs that are one file.
void guard_paths(const std::vector<tNamedFile>& files);
