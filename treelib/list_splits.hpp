// A list of splits, kept in the order they were appended.
#pragma once

#include "lib/list.hpp"
#include "treelib/split.hpp"

class tListSplits : public list<tSplit> {};
