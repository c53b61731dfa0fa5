// A position in a tree file's text that knows its line, with the lexical rules Newick and Nexus
// share: blanks, bracketed comments, quoted and unquoted words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class tTextCursor {
 public:
  // REQUIRES: text outlives the cursor. source names the input in messages.
  tTextCursor(const std::string& text, const std::string& source)
      : text_(text.data()), size_(text.size()), source_(source) {}

  bool at_end() const { return pos_ >= size_; }
  char peek() const { return at_end() ? '\0' : text_[pos_]; }
  void advance();  // past one character, counting lines
  int line() const { return line_; }

  // Skips blanks and comments in [] (nested); an unclosed comment ends the run.
  void skip_blanks();
  // A quoted word ('' inside stands for ') or a run of characters up to a blank or one of
  // ()[]':;,= ; empty when the next character is such a delimiter.
  std::string word();
  void word(std::string& into);  // the same, into a string kept by the caller
  // The unquoted word at the cursor, as a view of the text. REQUIRES: peek() != '\''.
  std::string_view plain_word();

  [[noreturn]] void fail(const char* what) const;  // "<source>, line N: what", status 1
  [[noreturn]] void fail(const std::string& what) const { fail(what.c_str()); }

 private:
  const char* text_;
  std::size_t size_;
  std::string source_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// Ends an unquoted word: a blank or one of ()[]':;,= . One lookup per character, since the reader
// asks it of nearly every byte of a tree file.
inline bool is_delimiter(char c) {
  struct tTable {
    bool delimiter[256] = {};
    constexpr tTable() {
      for (const char* d = " \t\n\r\f\v()[]':;,="; *d; ++d)
        delimiter[static_cast<unsigned char>(*d)] = true;
    }
  };
  static constexpr tTable table;
  return table.delimiter[static_cast<unsigned char>(c)];
}
