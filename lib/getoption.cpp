// Picking options out of the raw argument vector, with claimed positions shared across calls.
#include "lib/getoption.hpp"

#include <bitset>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "lib/diagnostics.hpp"

namespace {

constexpr int kMaxWords = 1000;

std::bitset<kMaxWords + 1> got_argv;  // positions 1 .. kMaxWords

bool claimed(int i) {
  return got_argv.test(static_cast<std::size_t>(i));
}
void claim(int i) {
  got_argv.set(static_cast<std::size_t>(i));
}

bool opens_group(const char* word) {
  return word[0] == '[';
}
bool closes_group(const char* word) {
  return word[0] == ']';
}

// Index of the word that closes the group opened at i, or argc when there is none.
int group_end(int argc, const char** argv, int i) {
  int j = i + 1;
  while (j < argc && !closes_group(argv[j])) ++j;
  return j;
}

// The walk steps from an opening word straight to its closing word.
int skip_group(int argc, const char** argv, int i) {
  return opens_group(argv[i]) ? group_end(argc, argv, i) : i;
}

// Every scan relies on these two limits, so each call checks the whole line before walking it.
void check_command_line(int argc, const char** argv) {
  if (argc - 1 > kMaxWords) {
    usage("the command line has %d words; at most %d are supported", argc - 1, kMaxWords);
  }
  for (int i = 1; i < argc; i = skip_group(argc, argv, i) + 1) {
    if (opens_group(argv[i]) && group_end(argc, argv, i) == argc) {
      usage("the group opened by '%s' at word %d is never closed by a word starting with ']'",
            argv[i], i);
    }
  }
}

// A backslash escapes the next character; of two adjacent backslashes the second is kept.
void append_word(string& value, const char* word) {
  std::string text;
  for (std::size_t k = 0; word[k] != '\0'; ++k) {
    if (word[k] != '\\' || (k > 0 && word[k - 1] == '\\')) text += word[k];
  }
  if (!value.empty()) value += " ";
  value += text.c_str();
}

// First position from 1 below limit whose word equals name, or 0.
int find_option(int argc, const char** argv, const string& name, int limit) {
  for (int i = 1; i < limit; ++i) {
    i = skip_group(argc, argv, i);
    if (i < limit && name == argv[i]) return i;
  }
  return 0;
}

// The conversion counts as found unless sscanf matched nothing (end of input counts as found).
template <class T>
bool converts(const char* word, const char* format, T& value) {
  T converted = value;
  if (std::sscanf(word, format, &converted) == 0) return false;
  value = converted;
  return true;
}

// "%d" would wrap a value beyond int silently: read it as a long; out of range does not convert.
bool converts_to_int(const char* word, int& value) {
  long wide = value;
  if (!converts(word, "%ld", wide) || wide < INT_MIN || wide > INT_MAX) return false;
  value = static_cast<int>(wide);
  return true;
}

template <class T, class Convert>
bool numeric_option(int argc, const char** argv, const string& name, T& value, Convert convert) {
  check_command_line(argc, argv);
  for (int i = 1; i < argc - 1; ++i) {
    i = skip_group(argc, argv, i);
    if (i >= argc - 1 || name != argv[i]) continue;
    if (convert(argv[i + 1], value)) {
      claim(i);
      claim(i + 1);
      return true;
    }
  }
  return false;
}

}  // namespace

bool getoption(int argc, const char** argv, const string& name) {
  check_command_line(argc, argv);
  int i = find_option(argc, argv, name, argc);
  if (i == 0) return false;
  claim(i);
  return true;
}

bool getoption(int argc, const char** argv, const string& name, double& value) {
  return numeric_option(argc, argv, name, value,
                        [](const char* word, double& v) { return converts(word, "%lg", v); });
}

bool getoption(int argc, const char** argv, const string& name, long& value) {
  return numeric_option(argc, argv, name, value,
                        [](const char* word, long& v) { return converts(word, "%ld", v); });
}

bool getoption(int argc, const char** argv, const string& name, int& value) {
  return numeric_option(argc, argv, name, value, converts_to_int);
}

bool getoption(int argc, const char** argv, const string& name, string& value) {
  check_command_line(argc, argv);
  int i = find_option(argc, argv, name, argc - 1);
  if (i == 0) return false;
  value = string();
  if (claimed(i)) return false;
  claim(i);
  if (!opens_group(argv[i + 1])) {
    for (int j = i + 1; j < argc && !claimed(j) && argv[j][0] != '-'; ++j) {
      append_word(value, argv[j]);
      claim(j);
    }
    return true;
  }
  claim(i + 1);
  int j = i + 2;
  for (; j < argc && !closes_group(argv[j]); ++j) {
    if (claimed(j)) error("Already got argument %i for %s", j - i, name.c_str());
    append_word(value, argv[j]);
    claim(j);
  }
  claim(j);
  return true;
}

int getoption(int argc, const char** argv, list<string>& rest) {
  check_command_line(argc, argv);
  rest.clear();
  for (int i = 1; i < argc; ++i) {
    i = skip_group(argc, argv, i);
    if (!claimed(i)) rest.append(string(argv[i]));
  }
  return rest.length();
}

string getfilename(int argc, char** argv) {
  if (argc > 1) return string(argv[argc - 1]);
  std::cout << "Enter filename:" << std::endl;
  string name;
  std::cin >> name;
  return name;
}

bool seekstrline(const string& key, string& line, std::istream& is) {
  while (true) {
    line.read(is, '\n');
    if (is.fail()) return false;
    if (std::strncmp(line.c_str(), key.c_str(), static_cast<std::size_t>(key.length())) == 0) {
      return true;
    }
  }
}

void reset_getoption() {
  got_argv.reset();
}
