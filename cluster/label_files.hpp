// Clusterings as columns of integer labels: the initial-assignment file and the label files.
#pragma once

#include <iosfwd>

#include "lib/array.hpp"
#include "lib/string.hpp"
#include "lib/taxaset.hpp"

// Reads an initial-assignment file: the cluster index of each row 0 .. rows-1, after one integer
// that is not used (the count line of a label file) unless the file holds exactly rows tokens.
// A file that does not open, ends early, holds a token that is not an integer or an index
// outside 0 .. k-1 ends the run through bye(), naming the file and the row.
array<int> read_initial_assignment(const string& file_name, int rows, int k);

// One label per line, no count line (the -init_clusters_out form).
void write_initial_assignment(std::ostream& os, const array<int>& assignment);

// A line with the row count, then one label per line (cluster and group label files).
void write_label_file(std::ostream& os, const array<int>& labels);

// Flushes os; if any text written to it was lost (a full disk, a failed stream), ends the run
// through bye() with "Can't write file: " and name.
void check_written(std::ostream& os, const string& name);

// The index of the cluster holding each row 0 .. rows-1 (0 for a row in no cluster).
array<int> cluster_labels(const array<tTaxaSet>& clusters, int rows);
