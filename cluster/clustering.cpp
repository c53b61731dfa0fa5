// The one-call clustering: checks, the starts, the scores and the bisection, in the program's
// order.
#include "cluster/clustering.hpp"

#include <ostream>
#include <utility>

#include "cluster/bisection.hpp"
#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/restarts.hpp"
#include "lib/diagnostics.hpp"

namespace {

// Faults of the settings, each through bye() before any work starts.
void check_settings(const matrix& data, const tClusteringSettings& settings) {
  const int k = settings.num_clusters;
  if (k < 1) bye("cluster_rows: %d clusters: at least one is needed", k);
  if (settings.t1 < 0) bye("cluster_rows: t1 %d: may not be negative", settings.t1);
  if (settings.restarts < 1)
    bye("cluster_rows: %d restarts: at least one start is needed", settings.restarts);
  const std::vector<int>& labels = settings.initial_assignment;
  if (labels.empty()) return;
  if (static_cast<long long>(labels.size()) != data.dim1())
    bye("cluster_rows: %zu initial labels for %d rows", labels.size(), data.dim1());
  for (std::size_t r = 0; r < labels.size(); ++r)
    if (labels[r] < 0 || labels[r] >= k)
      bye("cluster_rows: row %zu: initial label %d is outside 0 .. %d", r, labels[r], k - 1);
}

// Row numbers as names, for a bisection report without names of its own.
tNames numbered_rows(int rows) {
  tNames names;
  for (int r = 0; r < rows; ++r) names.add_name(string(std::to_string(r).c_str()));
  return names;
}

std::vector<int> as_vector(const array<int>& labels) {
  return std::vector<int>(labels.begin(), labels.end());
}

}  // namespace

tClusteringResult cluster_rows(const matrix& data, const tClusteringSettings& settings,
                               tClusteringObserver& observer) {
  check_settings(data, settings);
  std::ostream discarded(nullptr);
  std::ostream* progress = observer.progress();
  std::ostream& out = progress ? *progress : discarded;
  const int verbosity = observer.verbosity();

  matrix normalized;
  if (settings.normalize) {
    normalized = data;
    normalize_rows(normalized);
  }
  const matrix& rows = settings.normalize ? normalized : data;

  tStartsRecord record;
  record.seed = settings.seed;
  tStart start = best_start(rows, settings, verbosity, record, out, observer);

  tClusteringResult result;
  result.seed = settings.seed;
  result.initial_assignment = std::move(start.initial_assignment);
  result.clusters = std::move(start.clusters);
  result.means = std::move(start.means);
  result.labels = as_vector(cluster_labels(result.clusters, rows.dim1()));
  result.objective = start.objective;
  result.pass_objectives = std::move(start.pass_objectives);
  result.start_objectives = std::move(record.start_objectives);
  result.winner = record.winner;
  if (settings.score) result.scores = quality_scores(rows, result.clusters, result.means);
  observer.clustered(result);
  if (!settings.bisect) return result;

  const tNames* names = observer.names();
  const tNames numbered =
      names || !progress || verbosity < 1 ? tNames() : numbered_rows(rows.dim1());
  tBisection bisection = bisect_clusters(rows, names ? *names : numbered, result.clusters,
                                         result.means, settings.t2, progress ? verbosity : 0, out);
  result.halves = std::move(bisection.split_clusters);
  result.half_means = std::move(bisection.half_means);
  result.groups = as_vector(bisection.half_labels);
  return result;
}
