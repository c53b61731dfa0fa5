// Progress lines of the run on standard output.
#pragma once

#include <iosfwd>

// Writes line and a newline to out (flushed) when verbosity is above 3.
void progress_line(std::ostream& out, int verbosity, const char* line);
