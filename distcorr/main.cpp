// distcorr: corrected pairwise distances from a DNA alignment, as a PHYLIP distance matrix.
#include <algorithm>
#include <thread>

#include "distcorr/alignment.hpp"
#include "distcorr/correction.hpp"
#include "distcorr/gzip_source.hpp"
#include "distcorr/observed_proportions.hpp"
#include "distcorr/options.hpp"
#include "distcorr/phylip_matrix.hpp"
#include "distcorr/site_planes.hpp"
#include "distcorr/whole_file.hpp"
#include "lib/diagnostics.hpp"

namespace {

constexpr std::size_t kMaxStatsSequences = 7000 * 2 - 1;  // the capacity of a taxa set

void report_stats(tObserved& observed, const tDistcorrOptions& o, bool unsaturated) {
  if (observed.p.dim1() > static_cast<int>(kMaxStatsSequences))
    bye("-stats handles at most %zu sequences", kMaxStatsSequences);
  const tSaturationStats stats = saturation_stats(observed, o.correction);
  message("Saturated pairs: %.6g%%\n", stats.percent_saturated);
  if (stats.has_largest)
    message("Largest correctable proportion: %.17g\n", stats.largest_correctable);
  message("Correction result: %s\n", unsaturated ? "true" : "false");
}

}  // namespace

int main(int argc, const char** argv) {
  const tDistcorrOptions o = parse_distcorr_options(argc, argv);
  const tAlignment alignment = read_alignment(read_source(o.input), o.format);

  const tSitePlanes planes(alignment.sequences, o.deletion);
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  tObserved observed = observed_proportions(planes, alignment.names, threads);

  const tCorrected corrected = correct(observed, o.correction);
  if (o.correction.fix == tFix::none && !corrected.unsaturated)
    warning("%ld of %ld pairs are saturated and keep the marker -1",
            marked_pairs(corrected.distances), planes.sequences() * (planes.sequences() - 1) / 2);
  if (o.stats) report_stats(observed, o, corrected.unsaturated);

  const std::string text = phylip_matrix(alignment.names, corrected.distances);
  if (o.output.empty())
    write_standard_output(text);
  else
    write_whole_file(o.output, text);
  return 0;
}
