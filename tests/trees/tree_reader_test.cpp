// Tests of reading Newick and Nexus tree texts: what is kept, and every fault with its line.
#include "trees/tree_reader.hpp"

#include <gtest/gtest.h>

#include "tests/trees/helpers.hpp"

namespace {

struct tRoundTrip {
  const char* text;
  const char* written;
};

const tRoundTrip kNewick[] = {
    {"(A,B,(C,D));", "(A,B,(C,D));\n"},
    {"  ( A :1.5 , 'B c':2e-1 ) root ;", "(A:1.5,'B c':0.20000000000000001)root;\n"},
    {"[lead](A[x],B)[&R];", "(A,B);\n"},
    {"('it''s',B_c);", "('it''s',B_c);\n"},
    {"(A,\n B\n)\n;\n(C,D);", "(A,B);\n(C,D);\n"},
    {"((A,B)0.95:0.1,C:-0.5):0;", "((A,B)0.95:0.10000000000000001,C:-0.5):0;\n"},
    {"(((A)));", "(((A)));\n"},
    {"A;", "A;\n"},
    {"'#NEXUS';", "'#NEXUS';\n"},  // unquoted, the written tree would read as a Nexus file
    {"[nested [comment]] (A,'semi;colon');", "(A,'semi;colon');\n"},
    {"(A:'0.5',B:'1e1');", "(A:0.5,B:10);\n"},  // a quoted length is read without quotes
    {"", ""},
};

struct tFault {
  const char* text;
  const char* report;  // a regular expression for the message on standard error
};

const tFault kFaults[] = {
    {"((A,B),C;", "test, line 1: unbalanced parentheses: '\\(' without '\\)'"},
    {"(A,B));", "line 1: unbalanced parentheses: '\\)' without '\\('"},
    {"(A,B);\n\n((C,D),E;", "line 3: unbalanced"},
    {"(A,,B);", "line 1: a leaf without a name"},
    {"(A,'');", "a leaf without a name"},
    {"(A,B)", "line 1: the tree does not end with ';'"},
    {"(A:x,B);", "branch length 'x' is not a finite number"},
    {"(A:1e999,B);", "branch length '1e999' is not a finite number"},
    {"(A:0.5.1,B);", "branch length '0.5.1'"},
    {"(A:''5,B);", "branch length '' is not a finite number"},  // the quotes hold the length
    {"(A:'0.5,B);", "line 1: a quoted label is never closed"},
    {"(A,B);\n[open", "line 2: a comment '\\[' is never closed"},
    {"(A,'B);", "a quoted label is never closed"},
    {"(A B,C);", "unexpected 'B' in a tree"},
    {"A,B;", "',' outside parentheses"},
    {"#NEXUS\nbegin trees;\ntree t ((A,B),C);\nend;", "line 3: a TREE statement needs '='"},
    {"#NEXUS\nbegin trees; translate 1 A, 1 B; end;", "TRANSLATE lists the key '1' twice"},
    {"#NEXUS\nbegin trees; translate 1 A 2 B; end;", "TRANSLATE entries are separated by ','"},
    {"#NEXUS\nbegin trees;\ntree t = (A,B);", "the TREES block has no END"},
};

}  // namespace

TEST(TreeReader, NewickKeepsStructureLabelsAndLengths) {
  for (const tRoundTrip& c : kNewick) EXPECT_EQ(round_trip(c.text), c.written) << c.text;
}

TEST(TreeReader, FaultsEndTheRunNamingTheLine) {
  for (const tFault& c : kFaults)
    EXPECT_EXIT(round_trip(c.text), testing::ExitedWithCode(1), c.report) << c.text;
}

TEST(TreeReader, NexusTranslatesTheLeavesOfEveryTreesBlock) {
  const std::string nexus =
      "#nexus\n[a comment]\nBEGIN TAXA; TAXLABELS A 'B b' C; END;\n"
      "Begin Trees;\n  Translate 1 A, 2 'B b', 3 C;\n"
      "  tree first = [&U] (1:1,2:2,3:3);\n  TREE * second = ((3,1),2);\nEnd;\n"
      "begin trees; tree third = (1,A,'x y'); endblock;\n";
  EXPECT_EQ(round_trip(nexus), "(A:1,'B b':2,C:3);\n((C,A),'B b');\n(1,A,'x y');\n");
}

TEST(TreeReader, DeepNestingNeedsNoRecursion) {
  const int depth = 200000;
  const std::string text = std::string(depth, '(') + "A" + std::string(depth, ')') + ";";
  EXPECT_EQ(round_trip(text), text + "\n");
}
