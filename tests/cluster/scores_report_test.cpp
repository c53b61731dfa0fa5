// The scores report on a hand-made clustering whose every score is known.
#include "cluster/scores_report.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/builders.hpp"

TEST(ScoresReport, KnownClusteringGivesKnownScores) {
  // Means (1, 0) and (0.6, 0.8); cluster 2 is empty and has no mean.
  const matrix data = make_matrix({{1, 0}, {0.6, 0.8}, {0, -1}, {0, 2}});
  array<tTaxaSet> clusters(3);
  clusters[0] = make_set({0, 1});
  clusters[1] = make_set({2, 3});
  array<vector> means(3);
  means[0] = make_vector({1, 0});
  means[1] = make_vector({0.6, 0.8});
  std::ostringstream out;
  write_scores_report(out, data, clusters, means, 4.56, quality_scores(data, clusters, means));
  // Parts 1 + 0.36 and 0.64 + 2.56; S_ave and H_ave on squared products, the others plain.
  EXPECT_EQ(out.str(),
            "objective = 4.5599999999999996\n"
            "cluster 0: size 2, share 0.298246\n"
            "cluster 1: size 2, share 0.701754\n"
            "cluster 2: size 0, share 0\n"
            "S_ave = 0.36\n"
            "S_max = 0.6\n"
            "H_ave = 1.14\n"
            "H_min = -0.8\n");
}
