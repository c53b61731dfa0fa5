// Fuzzes the alignment readers (FASTA, both PHYLIP layouts, gzip input): every accepted text
// is a checked alignment, and the bit-plane counts of its first pair agree with a plain count.
// The first input byte chooses the format (auto, fasta, phylip) and whether the rest is
// inflated as gzip data first; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>

#include "distcorr/alignment_input.hpp"
#include "distcorr/site_planes.hpp"
#include "fuzz/fatal_exit_guard.hpp"
#include "io/input_file.hpp"

namespace {

bool resolved(char c) {
  return std::string("ACGTUacgtu").find(c) != std::string::npos;
}

char base(char c) {
  const char upper = static_cast<char>(c & ~0x20);
  return upper == 'U' ? 'T' : upper;
}

void check_alignment_promises(const tAlignment& a) {
  require(a.names.size() >= 2, "an accepted alignment has two sequences or more");
  require(a.sequences.size() == a.names.size() && a.lines.size() == a.names.size(),
          "one sequence and one line per name");
  require(std::set<std::string>(a.names.begin(), a.names.end()).size() == a.names.size(),
          "names are distinct");
  for (std::size_t k = 0; k < a.names.size(); ++k) {
    require(!a.names[k].empty(), "names are not empty");
    require(a.sequences[k].size() == a.sequences[0].size(), "sequences are of equal length");
    for (char c : a.sequences[k]) require(is_alignment_character(c), "only allowed characters");
  }
}

void check_first_pair(const tAlignment& a) {
  const tSitePlanes planes(a.sequences, tDeletion::pairwise);
  const tPairCounts counts = planes.count(0, 1);
  long compared = 0, differing = 0;
  for (std::size_t k = 0; k < a.sequences[0].size(); ++k) {
    const char x = a.sequences[0][k], y = a.sequences[1][k];
    if (!resolved(x) || !resolved(y)) continue;
    ++compared;
    differing += base(x) != base(y);
  }
  require(counts.compared == compared, "sites compared as the plain count");
  require(counts.differing() == differing, "differing sites as the plain count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  const tFormat formats[] = {tFormat::automatic, tFormat::fasta, tFormat::phylip};
  const tFormat format = formats[bytes[0] % 3];
  const bool inflate = (bytes[0] & 0x80) != 0;
  const std::string input(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  run_until_fatal_exit([&] {
    std::istringstream source(input);
    const std::string text = inflate ? read_whole(source, "fuzz input") : input;
    const tAlignment alignment = read_alignment(text, format, "fuzz input");
    check_alignment_promises(alignment);
    check_first_pair(alignment);
  });
  return 0;
}
