// The quality of the k-svd clustering, as the -scores report on standard output.
#pragma once

#include <iosfwd>

#include "cluster/cluster_summary.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// "objective = " with %.17g; per cluster i "cluster i: size n, share s" (s: the cluster's part
// of the objective over the objective); then "S_ave = ", "S_max = ", "H_ave = ", "H_min = "
// from scores, S_ave and H_ave on squared products as the k-svd objective uses.
void write_scores_report(std::ostream& out, const matrix& data, const array<tTaxaSet>& clusters,
                         const array<vector>& means, double objective,
                         const tQualityScores& scores);
