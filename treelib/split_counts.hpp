// The split count dictionary: how many times each distinct split has been seen.
#pragma once

#include "treelib/d_array.hpp"
#include "treelib/split.hpp"

using tSplitCounts = d_array<tSplit, int>;
