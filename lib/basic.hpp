// Diagnostics, command-line scanning and small utilities: the base every other unit uses.
#pragma once

#include "lib/container_error.hpp"
#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"
#include "lib/utilities.hpp"
