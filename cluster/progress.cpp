// Progress lines appear only at the highest verbosity.
#include "cluster/progress.hpp"

#include <ostream>

void progress_line(std::ostream& out, int verbosity, const char* line) {
  if (verbosity > 3) out << line << std::endl;
}

void tClusteringProgress::placing(int) {
  progress_line(out_, verbosity_, "reset clusters for next round");
}

void tClusteringProgress::updating(int) {
  progress_line(out_, verbosity_, "update the means");
}

void tClusteringProgress::passed(int, double prev_obj, double obj) {
  pass_objectives_.push_back(obj);
  if (verbosity_ > 3) out_ << prev_obj << ' ' << obj << std::endl;
}
