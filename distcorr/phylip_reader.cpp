// PHYLIP alignments: the header, then a sequential or an interleaved reading of the lines.
#include "distcorr/phylip_reader.hpp"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "distcorr/text_lines.hpp"

namespace {

struct tHeader {
  long sequences = 0;
  long sites = 0;
};

std::string at_line(long number) {
  return "line " + std::to_string(number) + ": ";
}

bool read_count(const std::string& word, long& count) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  count = std::strtol(word.c_str(), nullptr, 10);
  return errno == 0;
}

tProblem read_header(const tLine& line, tHeader& header) {
  std::size_t end;
  const std::string first = first_word(line.text, 0, end);
  const std::string second = first_word(line.text, end, end);
  if (!read_count(first, header.sequences) || !read_count(second, header.sites))
    return at_line(line.number) + "the first line must give the numbers of sequences and sites";
  return {};
}

// Starts a sequence from its name line: the name, then the sites on the rest of the line.
tProblem start_sequence(const tLine& line, tAlignment& a) {
  std::size_t end;
  a.names.push_back(first_word(line.text, 0, end));
  a.sequences.emplace_back();
  a.lines.push_back(line.number);
  return append_sites(line.text.substr(end), a.sequences.back(), line.number, a.names.back());
}

tProblem too_long(const tLine& line, const tAlignment& a, long sites) {
  return at_line(line.number) + "sequence " + a.names.back() + " has more than " +
         std::to_string(sites) + " sites";
}

tProblem read_sequential(const std::vector<tLine>& lines, const tHeader& h, tAlignment& a) {
  std::size_t next = 0;
  for (long k = 0; k < h.sequences; ++k) {
    if (next == lines.size())
      return "the alignment ends after " + std::to_string(k) + " of " +
             std::to_string(h.sequences) + " sequences";
    tProblem problem = start_sequence(lines[next++], a);
    while (problem.empty() && static_cast<long>(a.sequences.back().size()) < h.sites) {
      if (next == lines.size())
        return at_line(a.lines.back()) + "sequence " + a.names.back() + " ends after " +
               std::to_string(a.sequences.back().size()) + " of " + std::to_string(h.sites) +
               " sites";
      const tLine& line = lines[next++];
      problem = append_sites(line.text, a.sequences.back(), line.number, a.names.back());
    }
    if (!problem.empty()) return problem;
    if (static_cast<long>(a.sequences.back().size()) > h.sites)
      return too_long(lines[next - 1], a, h.sites);
  }
  if (next < lines.size()) return at_line(lines[next].number) + "text after the last sequence";
  return {};
}

tProblem read_interleaved(const std::vector<tLine>& lines, const tHeader& h, tAlignment& a) {
  if (static_cast<long>(lines.size()) < h.sequences)
    return "the alignment ends after " + std::to_string(lines.size()) + " of " +
           std::to_string(h.sequences) + " sequences";
  for (long k = 0; k < h.sequences; ++k) {
    tProblem problem = start_sequence(lines[k], a);
    if (!problem.empty()) return problem;
  }
  for (std::size_t k = h.sequences; k < lines.size(); ++k) {
    const std::size_t owner = k % h.sequences;
    tProblem problem =
        append_sites(lines[k].text, a.sequences[owner], lines[k].number, a.names[owner]);
    if (!problem.empty()) return problem;
  }
  for (std::size_t k = 0; k < a.sequences.size(); ++k)
    if (static_cast<long>(a.sequences[k].size()) != h.sites)
      return at_line(a.lines[k]) + "sequence " + a.names[k] + " has " +
             std::to_string(a.sequences[k].size()) + " sites, the first line says " +
             std::to_string(h.sites);
  return {};
}

}  // namespace

tProblem read_phylip(std::string_view text, tAlignment& alignment) {
  std::vector<tLine> lines;
  for (tLine& line : text_lines(text))
    if (!is_blank(line.text)) lines.push_back(std::move(line));
  if (lines.empty()) return "the alignment has no sequences";
  tHeader header;
  tProblem problem = read_header(lines.front(), header);
  if (!problem.empty()) return problem;
  lines.erase(lines.begin());
  if (header.sequences == 0) return "the alignment has no sequences";

  tAlignment sequential;
  problem = read_sequential(lines, header, sequential);
  if (problem.empty()) {
    alignment = std::move(sequential);
    return {};
  }
  // Blocks of one line per sequence: report the interleaved reading's problem instead.
  const bool blocks = lines.size() > static_cast<std::size_t>(header.sequences) &&
                      lines.size() % header.sequences == 0;
  tAlignment interleaved;
  tProblem other = read_interleaved(lines, header, interleaved);
  if (other.empty()) {
    alignment = std::move(interleaved);
    return {};
  }
  return blocks ? other : problem;
}
