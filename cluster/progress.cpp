// Progress lines appear only at the highest verbosity.
#include "cluster/progress.hpp"

#include <ostream>

void progress_line(std::ostream& out, int verbosity, const char* line) {
  if (verbosity > 3) out << line << std::endl;
}
