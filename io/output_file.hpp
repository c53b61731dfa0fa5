// An output file named on the command line, written whole or not at all.
#pragma once

#include <fstream>
#include <ostream>

#include "lib/string.hpp"

// A regular file (or a name not yet taken) is written under a temporary name beside it and
// renamed over it by commit(); a run that ends before then, through the diagnostics or
// otherwise, leaves the named file as it was. Devices and pipes are written directly.
class tOutputFile {
 public:
  // Opens name for writing now, so that a name that cannot be written ends the run through
  // bye() ("Can't open file to write: name") before any work is done.
  explicit tOutputFile(const string& name);
  ~tOutputFile();  // without commit(): the temporary is removed, the named file untouched
  tOutputFile(const tOutputFile&) = delete;
  tOutputFile& operator=(const tOutputFile&) = delete;

  std::ostream& stream() { return stream_; }
  const string& name() const { return name_; }
  // Flushes; text that was lost ends the run through bye() ("Can't write file: name"). A
  // regular file then takes the place of the named one. Later writes are not allowed.
  void commit();

 private:
  string name_;
  string target_;     // the file the temporary replaces (a link's target)
  string temporary_;  // empty when written directly
  std::ofstream stream_;
  bool committed_ = false;
};
