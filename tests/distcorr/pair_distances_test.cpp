// Every model's matrix on the run's threads: the same bits on any thread count, saturation marked
// alike in distances and variances, and pairs without a common site.
#include "distcorr/pair_distances.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lib/parallel.hpp"
#include "treelib/pair_passes.hpp"

namespace {

// Related sequences (a quarter of the sites changed per sequence) with gaps and ambiguity codes.
std::vector<std::string> related_alignment(int n, int length, unsigned seed) {
  std::mt19937 random(seed);
  std::string root;
  for (int k = 0; k < length; ++k) root += "ACGT"[random() % 4];
  std::vector<std::string> s(n, root);
  for (std::string& one : s)
    for (char& c : one) {
      if (random() % 4 == 0) c = "ACGT"[random() % 4];
      if (random() % 30 == 0) c = "NRY-"[random() % 4];
    }
  return s;
}

bool same_bits(const tMatrix& a, const tMatrix& b) {
  const long size = static_cast<long>(a.dim1()) * a.dim2();
  return a.dim1() == b.dim1() && a.dim2() == b.dim2() &&
         std::memcmp(a.data(), b.data(), size * sizeof(double)) == 0;
}

TEST(PairDistances, SameBitsOnEveryThreadCount) {
  const std::vector<std::string> s = related_alignment(40, 150, 11);
  const std::vector<std::string> names(40, "x");
  const tSitePlanes planes(s, tDeletion::pairwise);
  const tModel models[] = {tModel::raw, tModel::jc,   tModel::k2p, tModel::f81,
                           tModel::t92, tModel::tn93, tModel::f84, tModel::logdet};
  for (tModel model : models) {
    for (double alpha : {0.0, 0.5}) {
      if (alpha > 0 && !has_gamma(model)) continue;
      tPairSettings settings;
      settings.model = {model, alpha, 4, {0.3, 0.2, 0.2, 0.3}};
      settings.variances = true;
      set_thread_count(1);
      const tPairDistances one = pair_distances(planes, names, settings);
      for (int threads : {2, 3}) {
        set_thread_count(threads);
        const tPairDistances many = pair_distances(planes, names, settings);
        EXPECT_TRUE(same_bits(one.distances, many.distances)) << static_cast<int>(model) << alpha;
        EXPECT_TRUE(same_bits(one.variances, many.variances)) << static_cast<int>(model) << alpha;
        EXPECT_EQ(one.saturated, many.saturated);
      }
    }
  }
  set_thread_count(0);
}

TEST(PairDistances, MarksSaturatedPairsInBothMatricesAndCountsThem) {
  // Pairs (0, 1) and (1, 2) differ at every site: saturated under every model but LogDet, which
  // takes a consistent swap of bases for a relabelling.
  const std::vector<std::string> s = {"ACGTACGTACGTACGT", "CATGCATGCATGCATG", "ACGTACGTACGTACGA"};
  for (tModel model : {tModel::jc, tModel::k2p, tModel::f81, tModel::tn93, tModel::f84}) {
    tPairSettings settings;
    settings.model = {model, 0.0, 4, {0.25, 0.25, 0.25, 0.25}};
    settings.variances = true;
    const tPairDistances d =
        pair_distances(tSitePlanes(s, tDeletion::global), {"a", "b", "c"}, settings);
    EXPECT_EQ(d.saturated, 2) << static_cast<int>(model);  // (0, 1) and (1, 2)
    EXPECT_EQ(d.distances(1, 0), kSaturated) << static_cast<int>(model);
    EXPECT_EQ(d.variances(0, 1), kSaturated) << static_cast<int>(model);
    EXPECT_GT(d.distances(0, 2), 0.0) << static_cast<int>(model);
    EXPECT_EQ(d.largest, d.distances(2, 0)) << static_cast<int>(model);
  }
}

TEST(PairDistancesDeathTest, APairWithoutCommonSitesEndsTheRunUnlessAReplicate) {
  const std::vector<std::string> s = {"AC--", "--GT", "ACGT"};
  tPairSettings settings;
  EXPECT_EXIT(pair_distances(tSitePlanes(s, tDeletion::pairwise), {"a", "b", "c"}, settings),
              testing::ExitedWithCode(1),
              "Error: sequences a and b share no site where both have A, C, G or T");
  settings.common_site_required = false;
  for (tModel model : {tModel::raw, tModel::jc, tModel::k2p}) {
    for (double alpha : {0.0, 1.0}) {
      settings.model = {model, model == tModel::raw ? 0.0 : alpha, 4, {}};
      const tPairDistances d =
          pair_distances(tSitePlanes(s, tDeletion::pairwise), {"a", "b", "c"}, settings);
      EXPECT_EQ(d.distances(0, 1), kSaturated) << static_cast<int>(model) << alpha;
      EXPECT_EQ(d.saturated, 1) << static_cast<int>(model) << alpha;
    }
  }
}

}  // namespace
