// Escaping and number forms shared by the heatmap, the charts and the report.
#include "cluster/report/svg_text.hpp"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence starting at text[i], 0 when it is not one.
std::size_t utf8_length(const std::string& text, std::size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  unsigned int lowest = 0;  // smallest code point of that length: longer forms are invalid
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2, lowest = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3, lowest = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4, lowest = 0x10000;
  else
    return 0;
  if (i + length > text.size()) return 0;
  unsigned int code = lead & (0x7F >> length);
  for (std::size_t j = 1; j < length; ++j) {
    const unsigned char c = static_cast<unsigned char>(text[i + j]);
    if ((c & 0xC0) != 0x80) return 0;
    code = (code << 6) | (c & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string xml_escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = utf8_length(text, i);
      out += length == 0 ? std::string("\xEF\xBF\xBD") : text.substr(i, length);
      i += length == 0 ? 1 : length;
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F ? '?' : char(c);
    }
    ++i;
  }
  return out;
}

std::string short_number(double x, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, x);
  return buffer;
}
