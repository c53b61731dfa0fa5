// Lexical scanning of tree files.
#include "trees/text_cursor.hpp"

#include "lib/diagnostics.hpp"

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

void tTextCursor::advance() {
  if (text_[pos_] == '\n') ++line_;
  ++pos_;
}

void tTextCursor::skip_blanks() {
  for (;;) {
    while (!at_end() && is_blank(text_[pos_])) advance();
    if (peek() != '[') return;
    const int opened = line_;
    int depth = 0;
    do {
      if (at_end()) {
        line_ = opened;
        fail("a comment '[' is never closed by ']'");
      }
      if (text_[pos_] == '[') ++depth;
      if (text_[pos_] == ']') --depth;
      advance();
    } while (depth > 0);
  }
}

std::string tTextCursor::word() {
  std::string w;
  word(w);
  return w;
}

void tTextCursor::word(std::string& into) {
  if (peek() != '\'') {
    into.assign(plain_word());
    return;
  }
  into.clear();
  const int opened = line_;
  advance();
  for (;;) {
    if (at_end()) {
      line_ = opened;
      fail("a quoted label is never closed by '");
    }
    const char c = text_[pos_];
    advance();
    if (c != '\'') {
      into += c;
    } else if (peek() == '\'') {
      into += '\'';
      advance();
    } else {
      return;
    }
  }
}

std::string_view tTextCursor::plain_word() {
  const std::size_t start = pos_;
  while (!at_end() && !is_delimiter(text_[pos_])) ++pos_;
  return std::string_view(text_ + start, pos_ - start);
}

void tTextCursor::fail(const char* what) const {
  bye("%s, line %d: %s", source_.c_str(), line_, what);
}
