// An input file named on a command line, opened for reading, or the run ends naming it.
#pragma once

#include <fstream>
#include <istream>
#include <string>

#include "lib/string.hpp"

enum class tInputNeed {
  content,  // an empty regular file is refused
  any,      // only opened (a file a run names but may not read)
};

class tInputFile {
 public:
  // "-" is standard input. Ends through bye() (status 1), naming the file, when it cannot be
  // opened ("Can't open file to read: name", with the system's reason unless the file is
  // absent), when it is a directory, and, for tInputNeed::content, when it is an empty regular
  // file. Devices and pipes are read as they come.
  explicit tInputFile(const string& name, tInputNeed need = tInputNeed::content);
  tInputFile(const tInputFile&) = delete;
  tInputFile& operator=(const tInputFile&) = delete;

  std::istream& stream() { return *stream_; }
  const string& name() const { return name_; }

 private:
  string name_;
  std::ifstream file_;
  std::istream* stream_ = &file_;
};

// The whole text of the input name ("-" or empty: standard input), gzip data inflated, with
// the checks of tInputFile; damaged gzip data end the run through bye() naming it.
std::string read_whole_input(const string& name);
// The whole text of source, gzip data inflated; label names it in reports.
std::string read_whole(std::istream& source, const string& label);
