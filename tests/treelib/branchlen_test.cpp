// Tests of branch-length scaling on small trees.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "lib/random_source.hpp"
#include "tests/support/close.hpp"
#include "tests/treelib/fixtures.hpp"
#include "treelib/tree.hpp"

namespace {

std::vector<double> lengths(const tTree& T) {
  std::vector<double> out;
  for (edge e : T.all_edges()) out.push_back(T[e]);
  return out;
}

// The lines scale_random and stretch write for one edge.
std::string before_after(double before, double after) {
  std::ostringstream out;
  out << "BEFORE = " << before << "\nAFTER = " << after << "\n";
  return out.str();
}

// Draws of a source seeded as the random operations seed theirs.
std::vector<double> draws(std::time_t seed, int n) {
  random_source source;
  source.set_seed(static_cast<int>(seed));
  std::vector<double> out(static_cast<std::size_t>(n));
  for (double& r : out) source >> r;
  return out;
}

// d(0.5) at s = 4, from python3: -0.75 * math.log(1 - (4/3) * 0.5)
constexpr double kJc05 = 0.8239592165010822;

}  // namespace

TEST(Branchlen, ScaleMultipliesEveryLength) {
  tTree T = star({0.5, 1.25, 3.0});
  T.scale(2.0);
  EXPECT_EQ(lengths(T), (std::vector<double>{1.0, 2.5, 6.0}));
}

TEST(Branchlen, NormalizeDividesByMaxLength) {
  tTree T = star({1.0, 2.0, 4.0});
  T.normalize();
  EXPECT_EQ(lengths(T), (std::vector<double>{0.25, 0.5, 1.0}));
  EXPECT_EQ(T.max_length(), 1.0);
}

TEST(Branchlen, NormalizeMultipliesByTheReciprocal) {
  // 0.1 * (1/5) and 0.1 / 5 differ in the last bit; the reciprocal is the rule.
  tTree T = star({0.1, 5.0});
  T.normalize();
  EXPECT_EQ(lengths(T)[0], 0.020000000000000004);  // python3: 0.1 * (1 / 5.0)
}

TEST(Branchlen, NormalizeOfAZeroLengthTreeZeroesEveryLength) {
  tTree T = star({-1.0, -2.0});
  T.normalize();
  for (double length : lengths(T)) EXPECT_EQ(length, 0.0);
}

TEST(Branchlen, ScaleJcThroughDistanceSpace) {
  tTree T = star({0.5, 0.0});
  T.scale_jc(2.0);
  // python3: 0.75 * (1 - math.exp(-(4/3) * (kJc05 * 2.0)))
  EXPECT_EQ(lengths(T)[0], 0.6666666666666666);
  EXPECT_TRUE(close_to(lengths(T)[0], 2.0 / 3.0, 1e-15));
  EXPECT_EQ(lengths(T)[1], 0.0);
}

TEST(Branchlen, ScaleJcByOneKeepsInRangeLengths) {
  tTree T = star({0.1, 0.3, 0.7});
  T.scale_jc(1.0);
  EXPECT_TRUE(close_to(lengths(T)[0], 0.1, 1e-14));
  EXPECT_EQ(lengths(T)[1], 0.29999999999999993);  // python3, same formula
  EXPECT_TRUE(close_to(lengths(T)[2], 0.7, 1e-14));
}

TEST(Branchlen, ScaleJcSaturatesOutOfRangeEdgesWithOneWarning) {
  tTree T = star({0.8, 0.2, 0.9});
  testing::internal::CaptureStderr();
  T.scale_jc(1.0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: scale_jc(): Out of range: p(e)=0.8\n");
  EXPECT_EQ(lengths(T)[0], 0.75);
  EXPECT_EQ(lengths(T)[2], 0.75);
  EXPECT_TRUE(close_to(lengths(T)[1], 0.2, 1e-14));
}

TEST(Branchlen, ScaleJcAtTheSaturationLevelIsOutOfRange) {
  // No margin here: p = A exactly is out of range; with two states A = 0.5.
  tTree T = star({0.5, 0.25});
  testing::internal::CaptureStderr();
  T.scale_jc(3.0, 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: scale_jc(): Out of range: p(e)=0.5\n");
  EXPECT_EQ(lengths(T)[0], 0.5);
  // python3: A=0.5; B=2.0; A * (1 - math.exp(-B * ((-A * math.log(1 - B * 0.25)) * 3.0)))
  EXPECT_EQ(lengths(T)[1], 0.4375);
}

TEST(Branchlen, ScaleJcByZeroShrinksSaturatedEdgesToo) {
  tTree T = star({0.9, 0.3});
  testing::internal::CaptureStderr();
  T.scale_jc(0.0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(lengths(T), (std::vector<double>{0.0, 0.0}));
}

TEST(Branchlen, ConvertToJcGivesSaturatedEdgesTheLongestDistance) {
  tTree T = star({0.5, 0.8, 0.1});
  testing::internal::CaptureStderr();
  T.convert_to_jc();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: convert_to_jc(): Out of range: p(e)=0.8\n");
  EXPECT_EQ(lengths(T)[0], kJc05);
  EXPECT_EQ(lengths(T)[1], kJc05);
  EXPECT_EQ(lengths(T)[2], 0.10732563273050497);  // python3: -0.75 * math.log(1 - (4/3) * 0.1)
  EXPECT_TRUE(close_to(kJc05, 0.824, 1e-3));
}

TEST(Branchlen, ConvertToJcWithNothingInRangeGivesZero) {
  tTree T = star({0.75, 0.9});
  testing::internal::CaptureStderr();
  T.convert_to_jc();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: convert_to_jc(): Out of range: p(e)=0.75\n");
  EXPECT_EQ(lengths(T), (std::vector<double>{0.0, 0.0}));
}

TEST(Branchlen, ConvertToJcOfTwentyStates) {
  tTree T = star({0.5});
  T.convert_to_jc(20);
  // python3: A=19/20; B=20/19; -A * math.log(1 - B * 0.5)
  EXPECT_EQ(lengths(T)[0], 0.70985368173871);
}

TEST(Branchlen, EmptyTreeIsLeftAloneSilently) {
  tTree T;
  T.new_node();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  T.scale(3.0);
  T.normalize();
  T.scale_random();
  T.stretch(2.0);
  T.scale_jc(2.0);
  T.convert_to_jc();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(T.number_of_edges(), 0);
}

TEST(Branchlen, ScaleRandomUsesAClockSeededSourceAndReports) {
  const std::vector<double> start{0.5, 2.0, 7.25};
  // Retried until the call falls within one second, so that the seed is known.
  for (int attempt = 0; attempt < 5; ++attempt) {
    tTree T = star(start);
    const std::time_t t0 = std::time(nullptr);
    testing::internal::CaptureStdout();
    T.scale_random();
    const std::string out = testing::internal::GetCapturedStdout();
    if (std::time(nullptr) != t0) continue;
    const std::vector<double> r = draws(t0, 3);
    std::string expected;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(lengths(T)[i], start[i] * r[i]);
      EXPECT_LE(r[i], 1.0);
      EXPECT_GE(r[i], 0.0);
      expected += before_after(start[i], start[i] * r[i]);
    }
    EXPECT_EQ(out, expected);
    return;
  }
  ADD_FAILURE() << "the clock never stood still for one call";
}

TEST(Branchlen, StretchFactorsLieBetweenTheInverseAndTheStretch) {
  const std::vector<double> start{1.0, 0.5, 3.0, 0.125};
  for (int attempt = 0; attempt < 5; ++attempt) {
    tTree T = star(start);
    const std::time_t t0 = std::time(nullptr);
    testing::internal::CaptureStdout();
    T.stretch(2.0);
    const std::string out = testing::internal::GetCapturedStdout();
    if (std::time(nullptr) != t0) continue;
    const std::vector<double> r = draws(t0, 4);
    std::string expected;
    for (int i = 0; i < 4; ++i) {
      const double g = 1 / 2.0 + r[i] * (2.0 - 1 / 2.0);
      EXPECT_EQ(lengths(T)[i], start[i] * g);
      EXPECT_GE(g, 0.5);
      EXPECT_LE(g, 2.0);
      expected += before_after(start[i], start[i] * g);
    }
    EXPECT_EQ(out, expected);
    return;
  }
  ADD_FAILURE() << "the clock never stood still for one call";
}

TEST(BranchlenDeathTest, PreconditionsAreAssertions) {
  tTree T = star({0.1, -0.5});
  EXPECT_DEATH(T.scale_jc(1.0, 1), "nstates>1");
  EXPECT_DEATH(T.convert_to_jc(0), "nstates>1");
  EXPECT_DEATH(T.scale_jc(1.0), "p_e>=0");
  EXPECT_DEATH(T.convert_to_jc(), "p_e>=0");
}
