// Offers a buffer as standard input for one scope, for the readers that treat it differently.
#pragma once

#include <iostream>

// Standard input must read exactly as a file, so fuzz texts are also offered there; the old
// buffer and a clear state come back whatever happens.
class tStdinFrom {
 public:
  explicit tStdinFrom(std::streambuf* buffer) : saved_(std::cin.rdbuf(buffer)) {}
  ~tStdinFrom() {
    std::cin.rdbuf(saved_);
    std::cin.clear();
  }
  tStdinFrom(const tStdinFrom&) = delete;
  tStdinFrom& operator=(const tStdinFrom&) = delete;

 private:
  std::streambuf* saved_;
};
