// The program's consensus run: the runs of the design or the merge of counts files, then every
// output named on the command line.
#pragma once

#include <cstdint>

#include "cluster/consensus/consensus_engine.hpp"

class tOutputFile;
struct tRunOptions;
struct tExpressionData;

// The design of the command line: -consensus, -k_range (else -num_clusters alone), the
// fractions, -consensus_runs (else every run), the seed and -normalize, -t1, -t2.
tConsensusDesign command_line_design(const tRunOptions& options, std::uint64_t seed);

// Runs (or merges) and writes -consensus_table, -consensus_labels, -consensus_counts and the
// -report file (report, when named). input is prepared (missing values filled, -center or
// -zscore done); a design that cannot run on it ends the run through usage() before anything is
// written.
void run_consensus(const tRunOptions& options, tOutputFile* report, const tExpressionData& input,
                   std::uint64_t seed, const tResampleClusterer& clusterer);
