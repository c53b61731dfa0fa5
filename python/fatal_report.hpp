// The core's fatal reports and unreadable files as C++ exceptions the module raises in Python.
#pragma once

#include <stdexcept>
#include <string>

// A fatal report of the core (a fault of the data or of the parameters), raised as ValueError.
class tFatalReport : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A file that cannot be read, raised as OSError (the subclass its error number names).
struct tFileFault {
  int error_number;
  std::string path;
};

// From now on every fatal end of the core throws tFatalReport with the report's message, on the
// thread that made it, and the process goes on.
void throw_fatal_reports();

// Throws tFileFault unless path names a file that can be opened for reading.
void require_readable(const std::string& path);
