// Characters an alignment may hold and the checks every alignment passes.
#include "distcorr/alignment.hpp"

#include <array>
#include <cctype>
#include <cstdio>
#include <map>

std::string shown(char c) {
  char text[8];
  const unsigned char u = static_cast<unsigned char>(c);
  std::snprintf(text, sizeof text, std::isprint(u) ? "'%c'" : "\\x%02x", u);
  return text;
}

namespace {

enum tCharacterKind : unsigned char { kOther, kSite, kBlank };

// Every byte's kind, looked up once per character of a long alignment.
constexpr std::array<tCharacterKind, 256> kKinds = [] {
  std::array<tCharacterKind, 256> kinds{};
  for (const char* c = "ACGTURYSWKMBDHVNacgturyswkmbdhvn-.?"; *c; ++c)
    kinds[static_cast<unsigned char>(*c)] = kSite;
  for (const char* c = " \t\n\v\f\r"; *c; ++c) kinds[static_cast<unsigned char>(*c)] = kBlank;
  return kinds;
}();

tCharacterKind kind_of(char c) {
  return kKinds[static_cast<unsigned char>(c)];
}

}  // namespace

bool is_alignment_character(char c) {
  return kind_of(c) == kSite;
}

tProblem bad_character(long line, const std::string& name, char c) {
  return "line " + std::to_string(line) + ": sequence " + name + " has the character " + shown(c) +
         ", which is neither a nucleotide code nor a gap";
}

tProblem append_sites(std::string_view text, std::string& sequence, long line,
                      const std::string& name) {
  // Runs of sites go in whole: a line of sequence is usually one run.
  std::size_t start = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const tCharacterKind kind = kind_of(text[k]);
    if (kind == kSite) continue;
    if (kind == kOther) return bad_character(line, name, text[k]);
    sequence.append(text.data() + start, k - start);
    start = k + 1;
  }
  sequence.append(text.data() + start, text.size() - start);
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
