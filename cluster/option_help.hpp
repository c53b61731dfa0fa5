// The complete option list of the help text: one table line per option the program accepts.
#pragma once

#include <iosfwd>

// "Options:", then group by group every option with its value, meaning and default, one line
// each.
void write_option_list(std::ostream& os);
