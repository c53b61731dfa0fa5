// The chosen model and saturation policy, applied through the tree library's corrections.
#include "distcorr/correction.hpp"

#include "lib/diagnostics.hpp"
#include "treelib/onepdist.hpp"
#include "treelib/twopdist.hpp"

namespace {

constexpr float kKeepMarkers = -1.0f;  // a negative replacement leaves the markers in place

bool correct_jc(const tMatrix& p, tMatrix& d, const tCorrectionSettings& s) {
  switch (s.fix) {
    case tFix::none:
      return onepdist_xfix(p, d, s.states, kKeepMarkers);
    case tFix::x:
      return onepdist_xfix(p, d, s.states, s.x);
    case tFix::c:
      return onepdist_cfix(p, d, s.states, s.x);
    case tFix::pq:
      return onepdist_pqfix(p, d, s.states, s.p0, s.q0);
  }
  return false;
}

bool correct_k2p(tObserved& o, tMatrix& d, const tCorrectionSettings& s) {
  switch (s.fix) {
    case tFix::none:
      return twopdist_xfix(o.P, o.Q, d, s.states, kKeepMarkers, s.alpha);
    case tFix::x:
      return twopdist_xfix(o.P, o.Q, d, s.states, s.x, s.alpha);
    case tFix::c:
      return twopdist_cfix(o.P, o.Q, d, s.states, s.x, s.alpha);
    case tFix::pq:
      break;
  }
  error("-fix pq has no two-parameter correction");
}

tTaxaSet all_sequences(int n) {
  tTaxaSet taxa(n);
  for (int k = 0; k < n; ++k) taxa.insert(k);
  return taxa;
}

}  // namespace

tCorrected correct(tObserved& observed, const tCorrectionSettings& settings) {
  tCorrected result{tMatrix(), false};
  result.unsaturated = settings.model == tModel::jc
                           ? correct_jc(observed.p, result.distances, settings)
                           : correct_k2p(observed, result.distances, settings);
  return result;
}

tSaturationStats saturation_stats(tObserved& o, const tCorrectionSettings& s) {
  const tTaxaSet taxa = all_sequences(o.p.dim1());
  if (s.model == tModel::jc)
    return {percent_saturated(taxa, o.p, s.states), true, max_correctible(taxa, o.p, s.states)};
  return {percent_saturated(taxa, o.P, o.Q, s.states, s.alpha), false, 0.0};
}

long marked_pairs(const tMatrix& d) {
  long count = 0;
  for (int i = 0; i < d.dim1(); ++i)
    for (int j = i + 1; j < d.dim1(); ++j)
      if (d(i, j) == -1.0) ++count;
  return count;
}
