// Splitting a text into lines, whatever its line ends.
#include "distcorr/text_lines.hpp"

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

}  // namespace

std::vector<tLine> text_lines(std::string_view text) {
  std::vector<tLine> lines;
  std::size_t start = 0;
  long number = 1;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    lines.push_back({number++, text.substr(start, end - start)});
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

bool is_blank(std::string_view line) {
  for (char c : line)
    if (!is_space(c)) return false;
  return true;
}

std::string first_word(std::string_view text, std::size_t at, std::size_t& end) {
  while (at < text.size() && is_space(text[at])) ++at;
  end = at;
  while (end < text.size() && !is_space(text[end])) ++end;
  return std::string(text.substr(at, end - at));
}
