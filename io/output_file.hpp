// An output file named on a command line, written whole or not at all.
#pragma once

#include <fstream>
#include <ostream>
#include <string>

#include "lib/string.hpp"

// One behaviour for every program's outputs:
// - a regular file, or a name not yet taken, is written under a temporary name beside its target
//   and renamed over it by commit(); a run that ends before then (through the diagnostics, an
//   exception, or SIGINT, SIGTERM or SIGHUP) removes the temporary and leaves the file as it was;
// - anything else (a device such as /dev/null, a pipe, a socket) is written directly and never
//   replaced;
// - a symbolic link keeps pointing at its target, which is the file replaced (also a link to a
//   file not yet there);
// - a new file gets mode 0666 less the umask; a replaced one keeps its mode, and its owner and
//   group where the user may give them (else a warning); hard links to it keep the old file;
// - "-" is standard output;
// - the replacing file is flushed to the disk before the rename, so that a crash leaves the old
//   file or the new one, never a part.
class tOutputFile {
 public:
  // Opens name for writing now, so that a name that cannot be written ends the run through
  // bye() ("Can't open file to write: name") before any work is done.
  explicit tOutputFile(const string& name);
  ~tOutputFile();  // without commit(): the temporary is removed, the named file untouched
  tOutputFile(const tOutputFile&) = delete;
  tOutputFile& operator=(const tOutputFile&) = delete;

  std::ostream& stream() { return *stream_; }
  const string& name() const { return name_; }
  // Flushes; text that was lost ends the run through bye() ("Can't write file: name"). A
  // regular file then takes the place of the named one. Later writes are not allowed.
  void commit();

 private:
  void open_temporary(const struct stat* existing);  // existing: the file replaced, if any
  void replace_target();

  string name_;
  std::string target_;     // the file the temporary replaces (a link's target)
  std::string temporary_;  // empty when written directly
  int ticket_ = -1;        // the temporary's hold (io/temporary_files.hpp)
  std::ofstream file_;
  std::ostream* stream_ = &file_;
  bool committed_ = false;
};

// Writes text to name as a tOutputFile does, "-" or an empty name meaning standard output.
void write_whole_output(const string& name, const std::string& text);
