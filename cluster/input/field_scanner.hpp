// Lines of delimited text cut into fields in place: one scanner for every table format.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

struct tField {
  const char* text;  // NUL-terminated at size, with at least 16 readable bytes after
  std::size_t size;
};

class tFieldScanner {
 public:
  // delimiter: '\t', ',', ';', or ' ' for runs of blanks and tabs (blanks at the ends of a line
  // then separate nothing); quoted: fields may be quoted as in RFC 4180 ("" for a quote, line
  // breaks within quotes). A UTF-8 byte-order mark at the start is skipped; CRLF ends lines.
  tFieldScanner(std::istream& is, char delimiter, bool quoted);
  tFieldScanner(const tFieldScanner&) = delete;
  tFieldScanner& operator=(const tFieldScanner&) = delete;

  // Cuts the next line that is not empty into fields; false at the end of the input. The fields
  // stay valid until the next call.
  bool next_line();
  const std::vector<tField>& fields() const { return fields_; }
  long long line() const { return line_; }  // number of the line last cut, from 1
  // The text not yet looked at, for a reader that goes on from here with the stream (the
  // scanner is done then), and the number of its first line.
  std::string take_rest();
  long long next_line_number() const { return next_line_number_; }

 private:
  bool find_line(std::size_t& end);  // the end of the line at pos_ (its newline or the text's end)
  bool refill();                     // keeps the text from pos_ on; false when nothing came
  void split_plain(std::size_t end);
  void split_quoted(std::size_t end);
  bool is_delimiter(char c) const { return c == delimiter_ || (delimiter_ == ' ' && c == '\t'); }
  // For blank runs: the first byte at or after at that is no blank, before end.
  std::size_t skip_blanks(std::size_t at, std::size_t end) const;

  std::istream& is_;
  const char delimiter_;
  const bool quoted_;
  std::vector<char> buffer_;  // text in [0, end_), then padding
  std::size_t end_ = 0;
  std::size_t pos_ = 0;
  bool at_end_ = false;
  long long line_ = 0;
  long long next_line_number_ = 1;
  std::vector<tField> fields_;
};
