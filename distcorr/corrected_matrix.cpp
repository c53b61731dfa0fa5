// One alignment's corrected distance matrix: the model on every pair, then the saturation policy.
#include "distcorr/corrected_matrix.hpp"

#include "distcorr/base_frequencies.hpp"

tCorrectedMatrix corrected_matrix(const tSitePlanes& planes,
                                  const std::vector<std::string>& sequences,
                                  const std::vector<std::string>& names, const tDistcorrOptions& o,
                                  bool replicate) {
  tPairSettings settings;
  settings.model = o.model;
  settings.model.frequencies = base_frequencies(sequences);
  settings.variances = !replicate && !o.variance.empty();
  settings.site_counts = !replicate && o.stats;
  settings.common_site_required = !replicate;
  tCorrectedMatrix result{pair_distances(planes, names, settings), false};
  result.unsaturated = apply_fix(result.pairs, o.fix, o.model.states);
  result.pairs.observed = tMatrix();  // n x n doubles no later step reads
  return result;
}
