// Restarts: every start draws its own initial partition; the largest objective is kept.
#include "cluster/restarts.hpp"

#include <cstdio>
#include <iostream>
#include <utility>

#include "algorithms/sqkmeans.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/label_files.hpp"
#include "cluster/options.hpp"
#include "cluster/progress.hpp"
#include "cluster/run_seed.hpp"

namespace {

tStart cluster_from(const matrix& data, array<int> assignment, const tOptions& options,
                    std::ostream& out) {
  tStart start;
  start.clusters = clusters_of(assignment, options.num_clusters);
  start.initial_assignment = std::move(assignment);
  progress_line(out, options.verbosity, "computing initial means...");
  start.means = initial_means(data, start.clusters, options.t1);
  progress_line(out, options.verbosity, "calling sqkmeans");
  tClusteringProgress progress(out, options.verbosity);
  start.objective = sqkmeans(data, start.clusters, start.means, options.t2, options.t1, progress);
  start.pass_objectives = progress.pass_objectives();
  return start;
}

array<int> drawn_assignment(int rows, int k, std::uint64_t seed) {
  random_source draws = seeded_source(seed, tRandomUse::initial_assignment, 0, k - 1);
  return random_assignment(rows, draws);
}

void report_start(int start, std::uint64_t seed, double objective) {
  char line[96];
  std::snprintf(line, sizeof line, "# start %d: seed %llu, objective %.17g\n", start,
                static_cast<unsigned long long>(seed), objective);
  std::cerr << line;
}

}  // namespace

tStart best_start(const matrix& data, const tOptions& options, tStartsRecord& record,
                  std::ostream& out, const tStartWriter& write_start) {
  const int rows = data.dim1(), starts = options.restarts;
  record.start_objectives.clear();
  record.winner = 0;
  progress_line(out, options.verbosity, "random initialization");
  if (!options.init_clusters.empty()) {
    array<int> given = read_initial_assignment(options.init_clusters, rows, options.num_clusters);
    write_start(given);
    tStart only = cluster_from(data, std::move(given), options, out);
    record.start_objectives.push_back(only.objective);
    return only;
  }
  tStart best;
  for (int s = 1; s <= starts; ++s) {
    if (s > 1) progress_line(out, options.verbosity, "random initialization");
    const std::uint64_t seed = start_seed(record.seed, s);
    array<int> drawn = drawn_assignment(rows, options.num_clusters, seed);
    if (starts == 1) write_start(drawn);  // where a single run has always written it
    tStart current = cluster_from(data, std::move(drawn), options, out);
    record.start_objectives.push_back(current.objective);
    if (starts > 1 && options.verbosity >= 1) report_start(s, seed, current.objective);
    if (s == 1 || current.objective > best.objective) {
      best = std::move(current);
      record.winner = s - 1;
    }
  }
  if (starts > 1) write_start(best.initial_assignment);
  return best;
}
