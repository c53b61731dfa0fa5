// The command line of a run as one line a user can paste back into a shell.
#include "cluster/report/run_record.hpp"

namespace {

bool needs_quotes(const std::string& argument) {
  if (argument.empty()) return true;
  for (const char c : argument) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '/' || c == '=' || c == ',' ||
                       c == ':' || c == '+';
    if (!plain) return true;
  }
  return false;
}

std::string quoted(const std::string& argument) {
  std::string result = "'";
  for (const char c : argument) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

}  // namespace

std::string command_line_of(int argc, const char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += ' ';
    line += needs_quotes(argv[i]) ? quoted(argv[i]) : std::string(argv[i]);
  }
  return line;
}
