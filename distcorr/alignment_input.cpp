// An alignment from the text of an input: the format told or guessed, read and checked.
#include "distcorr/alignment_input.hpp"

#include <cctype>

#include "distcorr/fasta_reader.hpp"
#include "distcorr/phylip_reader.hpp"
#include "lib/diagnostics.hpp"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

tFormat guess_format(std::string_view text, const char* source) {
  const std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
  if (first == std::string_view::npos) bye("%s: the alignment has no sequences", source);
  if (text[first] == '>' || text[first] == ';') return tFormat::fasta;
  if (std::isdigit(static_cast<unsigned char>(text[first]))) return tFormat::phylip;
  bye("%s: cannot tell the format of the alignment from its first character %s: give -format "
      "fasta or -format phylip",
      source, shown(text[first]).c_str());
}

}  // namespace

tAlignment read_alignment(const std::string& bytes, tFormat format, const std::string& source) {
  const std::string label = source.empty() ? "standard input" : source;
  const bool marked = bytes.compare(0, 3, kByteOrderMark) == 0;
  const std::string_view text = std::string_view(bytes).substr(marked ? 3 : 0);
  if (format == tFormat::automatic) format = guess_format(text, label.c_str());
  tAlignment alignment;
  tProblem problem =
      format == tFormat::fasta ? read_fasta(text, alignment) : read_phylip(text, alignment);
  if (problem.empty()) problem = check_alignment(alignment);
  if (!problem.empty()) bye("%s: %s", label.c_str(), problem.c_str());
  return alignment;
}
