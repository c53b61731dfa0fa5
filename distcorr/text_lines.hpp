// Splitting a text into lines, whatever its line ends (LF, CR LF or CR).
#pragma once

#include <string>
#include <vector>

struct tLine {
  long number;  // counted from 1
  std::string text;
};

std::vector<tLine> text_lines(const std::string& text);
bool is_blank(const std::string& line);  // only spaces, tabs and other white space
// The first word of text from position at (0 if none), and the position just after it.
std::string first_word(const std::string& text, std::size_t at, std::size_t& end);
