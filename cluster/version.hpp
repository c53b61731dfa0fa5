// The one-line banner that names the program, its build and its authors.
#pragma once

#include "lib/string.hpp"

// Built on the first call and kept for the life of the process.
const string& version();
