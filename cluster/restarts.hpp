// The k-svd clustering from one or several starts, and the record of what each start gave.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

struct tClusteringSettings;
class tClusteringObserver;

// What a later report needs to repeat and judge the run.
struct tStartsRecord {
  std::uint64_t seed = 0;                // the run seed every random source derives from
  std::vector<double> start_objectives;  // the objective of every start, in start order
  int winner = 0;                        // index in start_objectives of the start kept
};

// One clustering: where it started and where sqkmeans left it.
struct tStart {
  array<int> initial_assignment;
  array<tTaxaSet> clusters;
  array<vector> means;
  double objective = 0.0;
  std::vector<double> pass_objectives;  // after every k-svd pass, in order
};

// The start of settings.initial_assignment, or settings.restarts random starts (start s seeded
// from start_seed(record.seed, s)), each with its principal directions as initial means and
// refined by sqkmeans. Keeps the largest objective, the earlier start on ties, and fills the
// record. Progress lines go to out at verbosity above 3; with several starts one "# start" line
// each to observer.notes() at verbosity 1 and above. observer.kept_start sees the kept start.
// REQUIRES: the initial assignment, when given, holds a label in 0 .. k-1 for every row
tStart best_start(const matrix& data, const tClusteringSettings& settings, int verbosity,
                  tStartsRecord& record, std::ostream& out, tClusteringObserver& observer);
