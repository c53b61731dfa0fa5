// A position in a tree file's text that knows its line, with the lexical rules Newick and Nexus
// share: blanks, bracketed comments, quoted and unquoted words.
#pragma once

#include <cstddef>
#include <string>

class tTextCursor {
 public:
  // REQUIRES: text outlives the cursor. source names the input in messages.
  tTextCursor(const std::string& text, const std::string& source) : text_(&text), source_(source) {}

  bool at_end() const { return pos_ >= text_->size(); }
  char peek() const { return at_end() ? '\0' : (*text_)[pos_]; }
  void advance();  // past one character, counting lines
  int line() const { return line_; }

  // Skips blanks and comments in [] (nested); an unclosed comment ends the run.
  void skip_blanks();
  // A quoted word ('' inside stands for ') or a run of characters up to a blank or one of
  // ()[]':;,= ; empty when the next character is such a delimiter.
  std::string word();

  [[noreturn]] void fail(const char* what) const;  // "<source>, line N: what", status 1
  [[noreturn]] void fail(const std::string& what) const { fail(what.c_str()); }

 private:
  const std::string* text_;
  std::string source_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

bool is_delimiter(char c);  // ends an unquoted word
