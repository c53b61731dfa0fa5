// Format names and the choice of -format auto, from the first line of the text.
#include "cluster/input/table_format.hpp"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cluster/input/value_conversion.hpp"

namespace {

const struct {
  tTableFormat format;
  const char* name;
} format_names[] = {{tTableFormat::automatic, "auto"}, {tTableFormat::matrix, "matrix"},
                    {tTableFormat::tsv, "tsv"},        {tTableFormat::ssv, "ssv"},
                    {tTableFormat::csv, "csv"},        {tTableFormat::csv2, "csv2"},
                    {tTableFormat::gct, "gct"},        {tTableFormat::pcl, "pcl"}};

std::string without_bom(const std::string& head) {
  return head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? head.substr(3) : head;
}

std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::vector<std::string> split(const std::string& line, char delimiter) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t stop = line.find(delimiter, start);
    fields.push_back(line.substr(start, stop - start));
    if (stop == std::string::npos) return fields;
    start = stop + 1;
  }
}

bool first_two_tokens_are_integers(const std::string& text) {
  const char* spaces = " \t\n\v\f\r";
  std::size_t at = 0;
  for (int i = 0; i < 2; ++i) {
    at = text.find_first_not_of(spaces, at);
    if (at == std::string::npos) return false;
    const std::size_t stop = std::min(text.find_first_of(spaces, at), text.size());
    long long value = 0;
    if (!parse_integer(text.substr(at, stop - at).c_str(), value)) return false;
    at = stop;
  }
  return true;
}

// Tokens of the line: runs of white space separate them.
std::size_t token_count(const std::string& line) {
  const char* spaces = " \t\v\f\r";
  std::size_t count = 0;
  for (std::size_t at = line.find_first_not_of(spaces); at != std::string::npos;
       at = line.find_first_not_of(spaces, line.find_first_of(spaces, at)))
    ++count;
  return count;
}

bool first_token_is_number(const std::string& line) {
  const char* spaces = " \t\v\f\r";
  const std::size_t at = line.find_first_not_of(spaces);
  const std::string token = line.substr(at, line.find_first_of(spaces, at) - at);
  char* end = nullptr;
  std::strtod(token.c_str(), &end);
  return !token.empty() && *end == '\0';
}

// A line that is not blank follows the first.
bool has_second_line(const std::string& text) {
  const std::size_t stop = text.find('\n');
  return stop != std::string::npos &&
         text.find_first_not_of(" \t\n\v\f\r", stop) != std::string::npos;
}

// How often c occurs in line outside double quotes.
std::size_t count_unquoted(const std::string& line, char c) {
  std::size_t count = 0;
  bool quoted = false;
  for (const char x : line) {
    if (x == '"') quoted = !quoted;
    if (x == c && !quoted) ++count;
  }
  return count;
}

const char* delimited_by(char delimiter) {
  switch (delimiter) {
    case '\t':
      return "tsv";
    case ';':
      return "csv2";
    case ',':
      return "csv";
    default:
      return "ssv";
  }
}

bool named(const std::string& field, const char* name) {
  return strcasecmp(field.c_str(), name) == 0;
}

}  // namespace

bool format_named(const char* word, tTableFormat& format) {
  for (const auto& entry : format_names)
    if (std::strcmp(word, entry.name) == 0) {
      format = entry.format;
      return true;
    }
  return false;
}

const char* format_name(tTableFormat format) {
  for (const auto& entry : format_names)
    if (entry.format == format) return entry.name;
  return "?";
}

tTableFormat detect_format(const std::string& head) {
  const std::string text = without_bom(head);
  const std::string line = first_line(text);
  if (first_two_tokens_are_integers(text) && token_count(line) <= 2) return tTableFormat::matrix;
  if (line.compare(0, 4, "#1.2") == 0 || line.compare(0, 4, "#1.3") == 0) return tTableFormat::gct;
  if (line.find('\t') != std::string::npos) {
    const std::vector<std::string> fields = split(line, '\t');
    if (fields.size() >= 3 && named(fields[0], "UID") && named(fields[2], "GWEIGHT"))
      return tTableFormat::pcl;
    return tTableFormat::tsv;
  }
  const std::size_t semicolons = count_unquoted(line, ';');
  const std::size_t commas = count_unquoted(line, ',');
  if (semicolons > commas) return tTableFormat::csv2;
  if (commas > 0) return tTableFormat::csv;
  // Two tokens are a header only before a data line and when the first is no number: a count
  // line gone wrong ("2.5 3") keeps the matrix layout's report.
  const std::size_t tokens = token_count(line);
  if (tokens >= 3 || (tokens == 2 && !first_token_is_number(line) && has_second_line(text)))
    return tTableFormat::ssv;
  return tTableFormat::matrix;
}

std::string header_row_hint(const std::string& head) {
  const std::string line = first_line(without_bom(head));
  for (const char delimiter : {'\t', ';', ',', ' '}) {
    std::vector<std::string> fields = split(line, delimiter);
    if (delimiter == ' ')
      fields.erase(std::remove(fields.begin(), fields.end(), std::string()), fields.end());
    if (fields.size() < 3) continue;
    const bool all_numbers = std::all_of(fields.begin(), fields.end(), [](const std::string& f) {
      double value = 0;
      std::string padded = f + std::string(64, '\0');
      return cell_value(padded.c_str(), f.size(), value) == tValueKind::number;
    });
    if (all_numbers) continue;
    return std::string("; the first line looks like a header row: try -format ") +
           delimited_by(delimiter);
  }
  return "";
}

std::string delimiter_hint(const std::string& line) {
  for (const char delimiter : {'\t', ';', ',', ' '})
    if (line.find(delimiter) != std::string::npos)
      return std::string("; -format ") + delimited_by(delimiter) + " reads it";
  return "";
}

char format_delimiter(tTableFormat format) {
  switch (format) {
    case tTableFormat::csv:
      return ',';
    case tTableFormat::csv2:
      return ';';
    case tTableFormat::ssv:
      return ' ';
    default:
      return '\t';
  }
}
