// Byte string with value semantics over a shared, reference-counted representation.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <type_traits>

class string {
 public:
  string();
  string(const char* s);  // NOLINT: implicit, as callers write string literals for strings
  string(char c);         // NOLINT: code 0 gives the empty string

  // Formatted construction: the first conversion of format takes first (a '*' there takes first,
  // an integer, as the width or precision), the later conversions take rest. Limited to 511
  // characters; a '%' in the text that first expands to stays literal.
  template <class First, class... Rest,
            class = std::enable_if_t<
                std::is_same_v<First, char> || std::is_same_v<First, unsigned char> ||
                std::is_same_v<First, short> || std::is_same_v<First, unsigned short> ||
                std::is_same_v<First, int> || std::is_same_v<First, unsigned int> ||
                std::is_same_v<First, long> || std::is_same_v<First, unsigned long> ||
                std::is_same_v<First, float> || std::is_same_v<First, double> ||
                std::is_same_v<First, const char*> || std::is_same_v<First, void*>>>
  string(const char* format, First first, Rest... rest);

  int length() const;
  bool empty() const { return length() == 0; }
  const char* c_str() const;
  char operator[](int i) const;  // REQUIRES: 0 <= i < length()

  string& operator+=(const string& other);

  // Replaces the content by what is read up to delim or the end of input. A newline delim is
  // consumed, any other stays in the stream; delim 0 stops at any white space (which stays).
  // Sets failbit when the input ended before anything was read.
  void read(std::istream& is, char delim);

 private:
  explicit string(std::string s);
  // Stage 1: format with its first conversion expanded by the one value in "...", every other
  // '%' left for stage 2. Stage 2: that text formatted with the values in "...". Both stop
  // at 511 characters.
  static std::string expand_first(const char* format, ...);
  static std::string expand_rest(const char* format, ...);

  std::shared_ptr<const std::string> rep_;
};

template <class First, class... Rest, class>
string::string(const char* format, First first, Rest... rest)
    : string(expand_rest(expand_first(format, first).c_str(), rest...)) {}

string operator+(const string& a, const string& b);

int compare(const string& a, const string& b);  // sign of strcmp
bool operator==(const string& a, const string& b);
bool operator!=(const string& a, const string& b);
bool operator<(const string& a, const string& b);
bool operator>(const string& a, const string& b);
bool operator<=(const string& a, const string& b);
bool operator>=(const string& a, const string& b);

// Index of the first occurrence of s in text at or after i (a negative i counts as 0), or -1
// (also for empty s or i at or past the end).
int pos(const string& s, const string& text, int i);

std::ostream& operator<<(std::ostream& os, const string& s);
// One word: white space skipped, then up to the next white space, which stays in the stream.
// On standard input a newline met while skipping is consumed and ends the skipping.
// Sets failbit when the input ended before a word began.
std::istream& operator>>(std::istream& is, string& s);
