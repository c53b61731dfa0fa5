// Byte string with value semantics over a shared, reference-counted representation.
#include "lib/string.hpp"

#include <cassert>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

constexpr int kFormatBuffer = 512;

// Flags, width, precision and length modifiers may stand between '%' and the conversion letter.
bool is_conversion_letter(char c) {
  return std::strchr("diouxXeEfFgGaAcspn", c) != nullptr;
}

// Index just past the conversion that starts at format[p] == '%', or 0 when it never ends.
std::size_t conversion_end(const char* format, std::size_t p) {
  for (std::size_t q = p + 1; format[q] != '\0'; ++q) {
    if (is_conversion_letter(format[q])) return q + 1;
    if (!std::strchr("-+ #0'123456789.*hlLqjzt", format[q])) return 0;
  }
  return 0;
}

std::string vformat_bounded(const char* format, std::va_list args) {
  char buffer[kFormatBuffer];
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  return n < 0 ? std::string() : std::string(buffer);
}

// Every '%' doubled, so that stage 2 writes the text as it is.
std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

bool is_white(int c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

string::string() : string(std::string()) {}

string::string(const char* s) : string(std::string(s ? s : "")) {}

string::string(char c) : string(c == '\0' ? std::string() : std::string(1, c)) {}

// A NUL byte read from input ends the string, as it would for the C library.
string::string(std::string s) {
  s.resize(std::strlen(s.c_str()));
  rep_ = std::make_shared<const std::string>(std::move(s));
}

// A "%%" before the first conversion is a literal percent sign and is left for stage 2. A '*'
// in the first conversion becomes the first value; otherwise the conversion's expansion is
// escaped, so text taken from input is never read as a format.
std::string string::expand_first(const char* format, ...) {
  std::string text(format);
  std::size_t p = 0;
  while ((p = text.find('%', p)) != std::string::npos && text.compare(p, 2, "%%") == 0) p += 2;
  if (p == std::string::npos) return text;
  std::size_t end = conversion_end(format, p);
  if (end == 0) return text.substr(0, p) + escaped(text.substr(p));
  std::size_t star = text.find('*', p);
  std::va_list args;
  va_start(args, format);
  std::string out;
  if (star < end) {
    out = text.substr(0, star) + vformat_bounded("%d", args) + text.substr(star + 1);
  } else {
    std::string conversion = text.substr(p, end - p);
    out = text.substr(0, p) + escaped(vformat_bounded(conversion.c_str(), args)) + text.substr(end);
  }
  va_end(args);
  return out;
}

std::string string::expand_rest(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = vformat_bounded(format, args);
  va_end(args);
  return out;
}

int string::length() const {
  return static_cast<int>(rep_->size());
}

const char* string::c_str() const {
  return rep_->c_str();
}

char string::operator[](int i) const {
  assert(0 <= i && i < length());
  return (*rep_)[static_cast<std::size_t>(i)];
}

string& string::operator+=(const string& other) {
  rep_ = std::make_shared<const std::string>(*rep_ + *other.rep_);
  return *this;
}

void string::read(std::istream& is, char delim) {
  std::string text;
  if (delim == '\n') {
    std::getline(is, text);
  } else {
    int c;
    while ((c = is.peek()) != EOF && (delim == '\0' ? !is_white(c) : c != delim)) {
      text += static_cast<char>(is.get());
    }
    if (text.empty() && is.eof()) is.setstate(std::ios::failbit);
  }
  *this = string(std::move(text));
}

string operator+(const string& a, const string& b) {
  string sum(a);
  sum += b;
  return sum;
}

int compare(const string& a, const string& b) {
  int c = std::strcmp(a.c_str(), b.c_str());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool operator==(const string& a, const string& b) {
  return compare(a, b) == 0;
}
bool operator!=(const string& a, const string& b) {
  return compare(a, b) != 0;
}
bool operator<(const string& a, const string& b) {
  return compare(a, b) < 0;
}
bool operator>(const string& a, const string& b) {
  return compare(a, b) > 0;
}
bool operator<=(const string& a, const string& b) {
  return compare(a, b) <= 0;
}
bool operator>=(const string& a, const string& b) {
  return compare(a, b) >= 0;
}

int pos(const string& s, const string& text, int i) {
  if (s.empty() || i >= text.length()) return -1;
  const char* found = std::strstr(text.c_str() + (i < 0 ? 0 : i), s.c_str());
  return found ? static_cast<int>(found - text.c_str()) : -1;
}

std::ostream& operator<<(std::ostream& os, const string& s) {
  return os.write(s.c_str(), s.length());
}

// Interactive input: a newline ends the skipping, so a prompt never waits for a second line.
std::istream& operator>>(std::istream& is, string& s) {
  bool interactive = &is == &std::cin;
  int c;
  while ((c = is.peek()) != EOF && is_white(c)) {
    is.get();
    if (interactive && c == '\n') break;
  }
  std::string word;
  while ((c = is.peek()) != EOF && !is_white(c)) word += static_cast<char>(is.get());
  if (word.empty() && is.eof()) is.setstate(std::ios::failbit);
  s = string(word.c_str());
  return is;
}
