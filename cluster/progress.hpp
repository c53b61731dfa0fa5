// Progress lines of the run on standard output.
#pragma once

#include <iosfwd>
#include <vector>

#include "algorithms/refinement_observer.hpp"

// Writes line and a newline to out (flushed) when verbosity is above 3.
void progress_line(std::ostream& out, int verbosity, const char* line);

// The k-svd clustering's progress lines, each flushed, written when verbosity is above 3: the
// two phases of every pass and its objectives before and after. Keeps every pass's objective.
class tClusteringProgress : public tRefinementObserver {
 public:
  tClusteringProgress(std::ostream& out, int verbosity) : out_(out), verbosity_(verbosity) {}
  void placing(int pass) override;
  void updating(int pass) override;
  void passed(int pass, double prev_obj, double obj) override;
  // The objective at the end of every pass so far, in pass order.
  const std::vector<double>& pass_objectives() const { return pass_objectives_; }

 private:
  std::ostream& out_;
  int verbosity_;
  std::vector<double> pass_objectives_;
};
