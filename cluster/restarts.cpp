// Restarts: every start draws its own initial partition; the largest objective is kept.
#include "cluster/restarts.hpp"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "algorithms/sqkmeans.hpp"
#include "cluster/clustering.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/progress.hpp"
#include "cluster/run_seed.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"

namespace {

tStart cluster_from(const matrix& data, array<int> assignment, const tClusteringSettings& settings,
                    int verbosity, std::ostream& out) {
  tStart start;
  start.clusters = clusters_of(assignment, settings.num_clusters);
  start.initial_assignment = std::move(assignment);
  progress_line(out, verbosity, "computing initial means...");
  start.means = initial_means(data, start.clusters, settings.t1);
  progress_line(out, verbosity, "calling sqkmeans");
  tClusteringProgress progress(out, verbosity);
  start.objective = sqkmeans(data, start.clusters, start.means, settings.t2, settings.t1, progress);
  start.pass_objectives = progress.pass_objectives();
  return start;
}

array<int> drawn_assignment(int rows, int k, std::uint64_t seed) {
  random_source draws = seeded_source(seed, tRandomUse::initial_assignment, 0, k - 1);
  return random_assignment(rows, draws);
}

std::string start_line(int start, std::uint64_t seed, double objective) {
  char line[96];
  std::snprintf(line, sizeof line, "# start %d: seed %llu, objective %.17g\n", start,
                static_cast<unsigned long long>(seed), objective);
  return line;
}

// What one start writes, in the order it writes it: progress text for out and warnings for
// standard error, so that starts run side by side can be replayed as a serial run writes them.
struct tTape {
  struct tPiece {
    bool warning;
    std::string text;
  };
  std::ostringstream progress;
  std::vector<tPiece> pieces;

  void cut() {
    if (progress.tellp() > 0) pieces.push_back({false, progress.str()});
    progress.str("");
  }
  static void record_warning(void* tape, const char* text) {
    tTape& t = *static_cast<tTape*>(tape);
    t.cut();
    t.pieces.push_back({true, text});
  }
  void replay(std::ostream& out) const {
    for (const tPiece& piece : pieces) {
      if (piece.warning)
        pass_on_warning(piece.text.c_str());
      else
        out << piece.text << std::flush;
    }
  }
};

// This thread's warnings go to a tape while it lives, also when a fatal-exit hook throws.
class tWarningsOnTape {
 public:
  explicit tWarningsOnTape(tTape& tape) { divert_warnings(tTape::record_warning, &tape); }
  ~tWarningsOnTape() { divert_warnings(nullptr, nullptr); }
  tWarningsOnTape(const tWarningsOnTape&) = delete;
  tWarningsOnTape& operator=(const tWarningsOnTape&) = delete;
};

// Start s (from 1) of several, its progress and warnings recorded on tape.
tStart recorded_start(const matrix& data, const tClusteringSettings& settings, int verbosity,
                      std::uint64_t seed, int s, tTape& tape) {
  const tWarningsOnTape diverted(tape);
  if (s > 1) progress_line(tape.progress, verbosity, "random initialization");
  tStart start = cluster_from(data, drawn_assignment(data.dim1(), settings.num_clusters, seed),
                              settings, verbosity, tape.progress);
  tape.cut();
  return start;
}

}  // namespace

tStart best_start(const matrix& data, const tClusteringSettings& settings, int verbosity,
                  tStartsRecord& record, std::ostream& out, tClusteringObserver& observer) {
  const int rows = data.dim1(), starts = settings.restarts;
  record.start_objectives.clear();
  record.winner = 0;
  progress_line(out, verbosity, "random initialization");
  if (!settings.initial_assignment.empty() || starts == 1) {
    array<int> first(rows);
    if (settings.initial_assignment.empty())
      first = drawn_assignment(rows, settings.num_clusters, start_seed(record.seed, 1));
    else
      for (int r = 0; r < rows; ++r) first[r] = settings.initial_assignment[r];
    observer.kept_start(first);  // a single start is known to be kept before it runs
    tStart only = cluster_from(data, std::move(first), settings, verbosity, out);
    record.start_objectives.push_back(only.objective);
    return only;
  }
  // The starts run side by side; what they wrote and the choice follow in start order.
  std::vector<tStart> done(starts);
  std::vector<tTape> tapes(starts);
  parallel_for(starts, [&](int i) {
    done[i] =
        recorded_start(data, settings, verbosity, start_seed(record.seed, i + 1), i + 1, tapes[i]);
  });
  std::ostream* notes = verbosity >= 1 ? observer.notes() : nullptr;
  for (int i = 0; i < starts; ++i) {
    tapes[i].replay(out);
    record.start_objectives.push_back(done[i].objective);
    if (notes) *notes << start_line(i + 1, start_seed(record.seed, i + 1), done[i].objective);
    if (i == 0 || done[i].objective > done[record.winner].objective) record.winner = i;
  }
  tStart best = std::move(done[record.winner]);
  observer.kept_start(best.initial_assignment);
  return best;
}
