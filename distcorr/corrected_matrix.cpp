// One alignment's corrected distance matrix: the model on every pair, then the saturation policy.
#include "distcorr/corrected_matrix.hpp"

#include "distcorr/base_frequencies.hpp"
#include "lib/diagnostics.hpp"

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
  settings.observed = o.fix.fix == tFix::pq;
  // A large alignment's pairs take a while; a replicate's progress is the replicates'.
  const long n = planes.sequences();
  tTerminalProgress progress("Pairs", n * (n - 1) / 2);
  if (!replicate) settings.progress = &progress;
  tCorrectedMatrix result{pair_distances(planes, names, settings), false};
  result.unsaturated = apply_fix(result.pairs, o.fix, o.model.states);
  result.pairs.observed = tMatrix();  // n x n doubles no later step reads
  return result;
}

void warn_if_few_sites(const tSitePlanes& planes, long length, tDeletion deletion) {
  if (deletion == tDeletion::global && 2 * planes.sites_kept() < length)
    warning(
        "global deletion keeps %ld of %ld sites; -deletion pairwise keeps every site a pair "
        "resolves",
        planes.sites_kept(), length);
}

void warn_if_saturated(const tCorrectedMatrix& m, long sequences, tFix fix) {
  if (fix == tFix::none && m.pairs.saturated > 0)
    warning("%ld of %ld pairs are saturated and keep the marker -1", m.pairs.saturated,
            sequences * (sequences - 1) / 2);
}
