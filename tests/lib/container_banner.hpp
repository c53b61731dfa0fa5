// The opening of a fatal container error report, for the death tests of the containers.
#pragma once

#include <string>

// The handler's banner and tab-indented message, as they stand before the stack trace.
inline std::string banner(const std::string& message) {
  return "\nVESTA ERROR HANDLER\n\t" + message + "\n\n";
}
