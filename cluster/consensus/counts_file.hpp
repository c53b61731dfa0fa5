// The counts file: the pair counts of a range of runs, and the merge of shards of one design.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cluster/consensus/design.hpp"
#include "cluster/consensus/pair_counts.hpp"

// What a counts file says about itself in its first line.
struct tCountsHeader {
  tConsensusDesign design;  // first_run .. end_run: the runs this file holds
  int rows = 0;
  int columns = 0;
};

// One text line "consensus-counts 1 rows=N runs=A..B seed=S k=K1..K2" and the design's fields
// (total, rows_fraction, columns_fraction, normalize, t1, t2, columns), a line per row name,
// then per k two arrays of N(N-1)/2 little-endian uint32, together then drawn, pairs row-major.
void write_counts_file(std::ostream& os, const tCountsHeader& header,
                       const std::vector<std::string>& names, const tPairCounts& counts);

// The header line; "" when it parses, else why not.
std::string parse_counts_header(const std::string& line, tCountsHeader& header);
std::string format_counts_header(const tCountsHeader& header);

struct tMergedCounts {
  tConsensusDesign design;  // of the whole: runs 0 .. total
  tPairCounts counts;
};

// Reads the shards named in files, checks that they are of one design over these rows (names
// and column count as given) and that their run ranges tile 0 .. total without overlap, and
// sums them. A file that cannot be read, is cut short, corrupt or foreign, and a range that
// overlaps another or leaves runs out, end the run through bye() with one line naming it.
tMergedCounts merge_counts_files(const std::vector<std::string>& files,
                                 const std::vector<std::string>& names, int columns);
