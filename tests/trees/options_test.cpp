// Tests of the trees command line: accepted settings, and status 2 for every fault in it.
#include "trees/options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

tTreesOptions parse(std::vector<const char*> words) {
  words.insert(words.begin(), "trees");
  return parse_trees_options(static_cast<int>(words.size()), words.data());
}

}  // namespace

TEST(TreesOptions, SettingsOfEachCommand) {
  const tTreesOptions c = parse({"consensus", "-i", "in", "-o", "out", "-burnin", "10", "-p",
                                 "0.75", "-lengths", "median", "-percent"});
  EXPECT_EQ(c.command, tCommand::consensus);
  EXPECT_EQ(c.input, "in");
  EXPECT_EQ(c.output, "out");
  EXPECT_EQ(c.burnin, 10);
  EXPECT_EQ(c.consensus.rule, tRule::majority);
  EXPECT_EQ(c.consensus.p, 0.75);
  EXPECT_EQ(c.consensus.lengths, tLengths::median);
  EXPECT_TRUE(c.consensus.percent);
  EXPECT_EQ(parse({"consensus", "-extended"}).consensus.rule, tRule::extended);
  EXPECT_EQ(parse({"support", "-target", "t"}).target, "t");
  const tTreesOptions rf = parse({"rf", "-ref", "r", "-rooted", "-normalize"});
  EXPECT_EQ(rf.reference, "r");
  EXPECT_TRUE(rf.rf.rooted && rf.rf.normalize);
  const tTreesOptions jc = parse({"scale", "-jc", "0.5"});
  EXPECT_EQ(jc.scale.how, tScaling::jc);
  EXPECT_EQ(jc.scale.f, 0.5);
  EXPECT_EQ(parse({"scale", "-normalize"}).scale.how, tScaling::normalize);
}

TEST(TreesOptions, FaultsEndWithStatusTwo) {
  const struct {
    std::vector<const char*> words;
    const char* report;
  } cases[] = {
      {{}, "trees COMMAND"},
      {{"prune"}, "prune: not a command"},
      {{"splits", "-x"}, "-x: unknown option for splits"},
      {{"rf", "-p", "0.6"}, "-p: unknown option for rf"},
      {{"splits", "-i"}, "-i needs a value"},
      {{"splits", "-i", "a", "-i", "b"}, "-i is given twice"},
      {{"splits", "-burnin", "3x"}, "-burnin 3x: not a whole number"},
      {{"splits", "-burnin", "-1"}, "-burnin -1: not a whole number"},
      {{"splits", "-burnin", "99999999999999999999"}, "not a whole number"},
      {{"consensus", "-p", "0.5x"}, "-p 0.5x: not a finite number"},
      {{"consensus", "-p", "1"}, "-p 1: must be at least 0.5 and below 1"},
      {{"consensus", "-p", "0.49"}, "must be at least 0.5"},
      {{"consensus", "-p", "nan"}, "not a finite number"},
      {{"consensus", "-strict", "-extended"}, "exclude each other"},
      {{"consensus", "-p", "0.6", "-strict"}, "exclude each other"},
      {{"consensus", "-lengths", "max"}, "-lengths max: not one of mean, median, none"},
      {{"support"}, "support needs -target FILE"},
      {{"scale"}, "exactly one of -factor, -normalize and -jc"},
      {{"scale", "-factor", "2", "-normalize"}, "exactly one of"},
      {{"scale", "-factor", "-2"}, "-factor -2: must be at least 0"},
      {{"scale", "-jc", "inf"}, "-jc inf: not a finite number"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(parse(c.words), testing::ExitedWithCode(2), c.report) << c.report;
}

TEST(TreesOptions, HelpWinsAndEndsWithStatusZero) {
  for (const char* word : {"-h", "-help", "--help"})
    EXPECT_EXIT(parse({"consensus", "-strict", "-extended", word}), testing::ExitedWithCode(0), "")
        << word;
}
