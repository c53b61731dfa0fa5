// Picking options out of the raw argument vector, with claimed positions shared across calls.
#pragma once

#include <iosfwd>

#include "lib/list.hpp"
#include "lib/string.hpp"

// Words whose first character is '[' open a group closed by the next word starting with ']'.
// Searches step over whole groups; only a string option may claim one. A command line of more
// than 1000 words, or with a group that is never closed, ends the process through usage().
bool getoption(int argc, const char** argv, const string& name);                 // flag
bool getoption(int argc, const char** argv, const string& name, double& value);  // "%lg"
bool getoption(int argc, const char** argv, const string& name, long& value);    // "%ld"
bool getoption(int argc, const char** argv, const string& name, int& value);     // "%d"
bool getoption(int argc, const char** argv, const string& name, string& value);  // words or group
// Clears rest, appends every unclaimed word in command-line order, returns their number.
int getoption(int argc, const char** argv, list<string>& rest);

// With no arguments asks on standard output and reads a word; otherwise the last argument.
string getfilename(int argc, char** argv);
// Reads lines into line until one begins with key; false at end of input.
bool seekstrline(const string& key, string& line, std::istream& is);

// Forget every claim (for programs and tests that scan more than one command line).
void reset_getoption();
