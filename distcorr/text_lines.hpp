// Splitting a text into lines, whatever its line ends (LF, CR LF or CR).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct tLine {
  long number;            // counted from 1
  std::string_view text;  // a view into the text split, which must outlive it
};

std::vector<tLine> text_lines(std::string_view text);
bool is_blank(std::string_view line);  // only spaces, tabs and other white space
// The first word of text from position at (0 if none), and the position just after it.
std::string first_word(std::string_view text, std::size_t at, std::size_t& end);
