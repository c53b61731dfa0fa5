// FASTA alignments, line by line.
#include "distcorr/fasta_reader.hpp"

#include "distcorr/text_lines.hpp"

tProblem read_fasta(std::string_view text, tAlignment& alignment) {
  for (const tLine& line : text_lines(text)) {
    if (is_blank(line.text) || line.text[0] == ';') continue;
    const std::string where = "line " + std::to_string(line.number) + ": ";
    if (line.text[0] == '>') {
      std::size_t end;
      const std::string name = first_word(line.text, 1, end);
      if (name.empty()) return where + "a '>' header without a name";
      alignment.names.push_back(name);
      alignment.sequences.emplace_back();
      // Aligned sequences share a length: the first one's spares the others' regrowing.
      alignment.sequences.back().reserve(alignment.sequences.front().size());
      alignment.lines.push_back(line.number);
      continue;
    }
    if (alignment.names.empty()) return where + "sequence data before the first '>' header";
    tProblem problem =
        append_sites(line.text, alignment.sequences.back(), line.number, alignment.names.back());
    if (!problem.empty()) return problem;
  }
  return {};
}
