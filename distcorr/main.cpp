// distcorr: corrected pairwise distances from a DNA alignment, as a PHYLIP distance matrix.
#include <algorithm>
#include <memory>

#include "distcorr/alignment_input.hpp"
#include "distcorr/bootstrap.hpp"
#include "distcorr/corrected_matrix.hpp"
#include "distcorr/options.hpp"
#include "distcorr/pair_counts_table.hpp"
#include "distcorr/phylip_matrix.hpp"
#include "io/input_file.hpp"
#include "io/output_file.hpp"
#include "io/path_guard.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"

namespace {

void report_stats(const tSitePlanes& planes, long length, const tCorrectedMatrix& m,
                  const tDistcorrOptions& o) {
  const long n = planes.sequences();
  message("Saturated pairs: %.6g%%\n",
          100.0 * static_cast<double>(2 * m.pairs.saturated) / static_cast<double>(n * n - n));
  if (o.model.model == tModel::jc && o.model.alpha == 0)
    message("Largest correctable proportion: %.17g\n", m.pairs.largest_p);
  message("Correction result: %s\n", m.unsaturated ? "true" : "false");
  if (o.deletion == tDeletion::global) {
    message("Sites used: %ld of %ld\n", planes.sites_kept(), length);
    return;
  }
  std::vector<long> sites = m.pairs.sites;
  const std::size_t half = sites.size() / 2;
  std::nth_element(sites.begin(), sites.begin() + half, sites.end());
  double median = static_cast<double>(sites[half]);
  if (sites.size() % 2 == 0)
    median = (median + *std::max_element(sites.begin(), sites.begin() + half)) / 2;
  message("Sites per pair: least %ld, median %g of %ld\n",
          *std::min_element(sites.begin(), sites.end()), median, length);
}

// The alignment's own matrix, then the bootstrap replicates one after another.
void write_matrices(std::ostream& out, const tAlignment& a, const tCorrectedMatrix& own,
                    const tDistcorrOptions& o) {
  {
    tTerminalProgress progress("Rows written", static_cast<long>(a.names.size()));
    write_phylip_matrix(out, a.names, own.pairs.distances, &progress);
  }
  if (o.bootstrap == 0) return;
  const std::vector<long> candidates = candidate_columns(a.sequences, o.deletion);
  std::mt19937_64 engine(o.seed);
  long saturated = 0;
  // Replicates may take minutes: a terminal sees how far they are.
  tTerminalProgress progress("Replicates", o.bootstrap);
  for (long r = 0; r < o.bootstrap; ++r) {
    const std::vector<std::string> drawn = resample(a.sequences, draw_columns(candidates, engine));
    const tCorrectedMatrix m =
        corrected_matrix(tSitePlanes(drawn, o.deletion), drawn, a.names, o, true);
    saturated += m.pairs.saturated;
    write_phylip_matrix(out, a.names, m.pairs.distances);
    progress.advance();
  }
  if (o.fix.fix == tFix::none && saturated > 0)
    warning("%ld pairs of the %ld replicates are saturated and keep the marker -1", saturated,
            o.bootstrap);
}

// Each output opened before any work, so that one that cannot be written ends the run early.
struct tOutputs {
  explicit tOutputs(const tDistcorrOptions& o)
      : matrix(o.output.empty() ? "-" : o.output.c_str()),
        variance(o.variance.empty() ? nullptr : new tOutputFile(o.variance.c_str())),
        counts(o.counts.empty() ? nullptr : new tOutputFile(o.counts.c_str())) {}
  tOutputFile matrix;
  std::unique_ptr<tOutputFile> variance, counts;
};

}  // namespace

int main(int argc, const char** argv) {
  std::ios::sync_with_stdio(false);
  const tDistcorrOptions o = parse_distcorr_options(argc, argv);
  guard_paths({{"-i", o.input, tFileUse::input},
               {"-o", o.output, tFileUse::output},
               {"-variance", o.variance, tFileUse::output},
               {"-counts", o.counts, tFileUse::output}});
  set_thread_count(o.threads);
  const tAlignment a = read_alignment(read_whole_input(o.input.c_str()), o.format, o.input);
  tOutputs outputs(o);

  const tSitePlanes planes(a.sequences, o.deletion);
  const long length = static_cast<long>(a.sequences[0].size());
  warn_if_few_sites(planes, length, o.deletion);
  const tCorrectedMatrix own = corrected_matrix(planes, a.sequences, a.names, o, false);
  warn_if_saturated(own, planes.sequences(), o.fix.fix);
  if (o.stats) report_stats(planes, length, own, o);

  write_matrices(outputs.matrix.stream(), a, own, o);
  outputs.matrix.commit();
  if (outputs.variance) {
    write_phylip_matrix(outputs.variance->stream(), a.names, own.pairs.variances);
    outputs.variance->commit();
  }
  if (outputs.counts) {
    write_pair_counts(outputs.counts->stream(), planes, a.names);
    outputs.counts->commit();
  }
  return 0;
}
