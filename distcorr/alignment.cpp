// Characters an alignment may hold and the checks every alignment passes.
#include "distcorr/alignment.hpp"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

std::string shown(char c) {
  char text[8];
  const unsigned char u = static_cast<unsigned char>(c);
  std::snprintf(text, sizeof text, std::isprint(u) ? "'%c'" : "\\x%02x", u);
  return text;
}

bool is_alignment_character(char c) {
  return c != '\0' && std::strchr("ACGTURYSWKMBDHVNacgturyswkmbdhvn-.?", c) != nullptr;
}

tProblem bad_character(long line, const std::string& name, char c) {
  return "line " + std::to_string(line) + ": sequence " + name + " has the character " + shown(c) +
         ", which is neither a nucleotide code nor a gap";
}

tProblem append_sites(const std::string& text, std::string& sequence, long line,
                      const std::string& name) {
  for (char c : text) {
    if (is_alignment_character(c))
      sequence.push_back(c);
    else if (!std::isspace(static_cast<unsigned char>(c)))
      return bad_character(line, name, c);
  }
  return {};
}

tProblem check_alignment(const tAlignment& a) {
  if (a.names.empty()) return "the alignment has no sequences";
  if (a.names.size() == 1)
    return "line " + std::to_string(a.lines[0]) + ": the alignment has only one sequence, " +
           a.names[0];
  std::map<std::string, long> first_line;
  for (std::size_t k = 0; k < a.names.size(); ++k) {
    const auto [at, fresh] = first_line.emplace(a.names[k], a.lines[k]);
    if (!fresh)
      return "line " + std::to_string(a.lines[k]) + ": the name " + a.names[k] +
             " is given twice, first on line " + std::to_string(at->second);
  }
  if (a.sequences[0].empty())
    return "line " + std::to_string(a.lines[0]) + ": sequence " + a.names[0] + " has no sites";
  for (std::size_t k = 1; k < a.names.size(); ++k)
    if (a.sequences[k].size() != a.sequences[0].size())
      return "line " + std::to_string(a.lines[k]) + ": sequence " + a.names[k] + " has " +
             std::to_string(a.sequences[k].size()) + " sites, but sequence " + a.names[0] +
             " has " + std::to_string(a.sequences[0].size());
  return {};
}
