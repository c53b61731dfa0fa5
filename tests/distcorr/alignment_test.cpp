// The alignment readers: FASTA and both PHYLIP layouts, and every refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "distcorr/alignment_input.hpp"

namespace {

struct tGoodCase {
  const char* what;
  const char* text;
  tFormat format;
  std::vector<std::string> names, sequences;
};

TEST(AlignmentReader, ReadsEveryLayout) {
  const std::vector<std::string> ab = {"a", "bee"};
  const tGoodCase cases[] = {
      {"fasta, wrapped, CR LF, comment",
       ";c\r\n>a x\r\nAC\r\ngt\r\n\r\n>bee\r\nU-N?\r\n",
       tFormat::automatic,
       ab,
       {"ACgt", "U-N?"}},
      {"fasta named", "\n>a\nA C\n>bee\nR.\n", tFormat::fasta, ab, {"AC", "R."}},
      {"phylip one line each", " 2 3\na   ACG\nbee TTT\n", tFormat::automatic, ab, {"ACG", "TTT"}},
      {"phylip sequential, wrapped",
       "2 6\na AC\nG T\nTT\nbee\nAAA AAA\n",
       tFormat::phylip,
       ab,
       {"ACGTTT", "AAAAAA"}},
      {"phylip interleaved",
       "2 5\na AC\nbee GG\n\n  TTA\nCCC\n",
       tFormat::phylip,
       ab,
       {"ACTTA", "GGCCC"}},
      {"phylip, CR ends", "2 1\ra A\rbee C\r", tFormat::automatic, ab, {"A", "C"}},
      {"fasta after a byte-order mark",
       "\xEF\xBB\xBF>a\nA\n>bee\nC\n",
       tFormat::automatic,
       ab,
       {"A", "C"}},
  };
  for (const tGoodCase& c : cases) {
    const tAlignment a = read_alignment(c.text, c.format, "in.fa");
    EXPECT_EQ(a.names, c.names) << c.what;
    EXPECT_EQ(a.sequences, c.sequences) << c.what;
  }
}

struct tBadCase {
  const char* text;
  tFormat format;
  const char* report;  // a regular expression for the standard error of the run
};

TEST(AlignmentReaderDeathTest, RefusesWithTheLineAndTheName) {
  const tBadCase cases[] = {
      {"", tFormat::automatic, "the alignment has no sequences"},
      {"0 0\n", tFormat::phylip, "the alignment has no sequences"},
      {">a\nACGT\n", tFormat::fasta, "line 1: the alignment has only one sequence, a"},
      {">a\nAC\n>b\nACG\n", tFormat::fasta, "line 3: sequence b has 3 sites, but sequence a has 2"},
      {">a x\n>b\n", tFormat::fasta, "line 1: sequence a has no sites"},
      {">a\nAC\n>b\nAC\n>a\nAC\n", tFormat::fasta,
       "line 5: the name a is given twice, first on line 1"},
      {">a\nAC\n>b\nAXC\n", tFormat::fasta, "line 4: sequence b has the character 'X'"},
      {">a\r\nAC\r\n\r\n>b\r\nAXC\r\n", tFormat::fasta, "line 5: sequence b has the character 'X'"},
      {"\xEF\xBB\xBF"
       "2 2\r\na AC\r\nb A!\r\n",
       tFormat::automatic, "line 3: sequence b has the character '!'"},
      {">a\nAC\n>b\nA\x01", tFormat::fasta, "line 4: sequence b has the character \\\\x01"},
      {"AC\n>b\nAC\n", tFormat::fasta, "line 1: sequence data before the first '>' header"},
      {">\nAC\n", tFormat::fasta, "line 1: a '>' header without a name"},
      {"*x\n", tFormat::automatic, "cannot tell the format .* '\\*'"},
      {"2\na A\nb A\n", tFormat::phylip, "line 1: the first line must give the numbers"},
      {"2 2\na AC\nb AC\nc AC\n", tFormat::phylip, "line 4: text after the last sequence"},
      {"3 2\na AC\nb AC\n", tFormat::phylip, "the alignment ends after 2 of 3 sequences"},
      {"2 2\na ACG\nb AC\n", tFormat::phylip, "line 2: sequence a has more than 2 sites"},
      {"2 3\na AC\nb AC\nA\nC\nG\nT\n", tFormat::phylip,
       "line 2: sequence a has 4 sites, the first line says 3"},
      {"2 2\na AC\nb A!\n", tFormat::phylip, "line 3: sequence b has the character '!'"},
  };
  for (const tBadCase& c : cases)
    EXPECT_EXIT(read_alignment(c.text, c.format, "in.fa"), testing::ExitedWithCode(1),
                std::string("Error: in.fa: ") + c.report)
        << c.text;
}

}  // namespace
