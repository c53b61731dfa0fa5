// Lexical scanning of tree files.
#include "trees/text_cursor.hpp"

#include "lib/diagnostics.hpp"

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

// One lookup per character: the reader asks this of every byte of a tree file.
struct tDelimiters {
  bool table[256] = {};
  tDelimiters() {
    for (const char* c = " \t\n\r\f\v()[]':;,="; *c; ++c)
      table[static_cast<unsigned char>(*c)] = true;
  }
};

bool is_delimiter(char c) {
  static const tDelimiters delimiters;
  return delimiters.table[static_cast<unsigned char>(c)];
}

void tTextCursor::advance() {
  if ((*text_)[pos_] == '\n') ++line_;
  ++pos_;
}

void tTextCursor::skip_blanks() {
  for (;;) {
    while (!at_end() && is_blank((*text_)[pos_])) advance();
    if (peek() != '[') return;
    const int opened = line_;
    int depth = 0;
    do {
      if (at_end()) {
        line_ = opened;
        fail("a comment '[' is never closed by ']'");
      }
      if ((*text_)[pos_] == '[') ++depth;
      if ((*text_)[pos_] == ']') --depth;
      advance();
    } while (depth > 0);
  }
}

std::string tTextCursor::word() {
  std::string w;
  if (peek() == '\'') {
    const int opened = line_;
    advance();
    for (;;) {
      if (at_end()) {
        line_ = opened;
        fail("a quoted label is never closed by '");
      }
      const char c = (*text_)[pos_];
      advance();
      if (c != '\'') {
        w += c;
      } else if (peek() == '\'') {
        w += '\'';
        advance();
      } else {
        return w;
      }
    }
  }
  const std::size_t start = pos_;
  while (!at_end() && !is_delimiter((*text_)[pos_])) ++pos_;
  w.assign(*text_, start, pos_ - start);
  return w;
}

void tTextCursor::fail(const char* what) const {
  bye("%s, line %d: %s", source_.c_str(), line_, what);
}
