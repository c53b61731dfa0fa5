// The consensus table and the consensus labels, tab-separated; numbers in the shortest form
// that reads back to the same double, NA where a value does not exist.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cluster/consensus/consensus_statistics.hpp"

// "k runs pac area delta mean_consensus least_consensus best", a line per k; best is 1 on the
// k of least PAC (the first on ties), else 0.
void write_consensus_table(std::ostream& os, const std::vector<tConsensusOfK>& results, int runs);

// "name row class_k consensus_k ..." for every k, a line per row (row from 0): the row's class
// and its item consensus with that class.
void write_consensus_labels(std::ostream& os, const std::vector<std::string>& names,
                            const std::vector<tConsensusOfK>& results);

// x as the shortest decimal that reads back to x; "NA" for NaN.
std::string consensus_number(double x);
