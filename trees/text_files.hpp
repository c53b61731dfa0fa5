// The program's file layer: inputs read whole (gzip inflated), outputs written whole or not at
// all, devices written in place, and no output that is one of the inputs.
#pragma once

#include <string>
#include <vector>

#include "trees/tree_set.hpp"

// The text of a file, or of standard input when name is empty; unreadable input ends the run.
tInputText read_input(const std::string& name);
// Writes text to path (standard output when empty); a failure ends the run (status 1).
void write_output(const std::string& path, const std::string& text);
// An output naming the same file as an input ends the run with status 2.
void refuse_output_over_input(const std::string& output, const std::vector<std::string>& inputs);
