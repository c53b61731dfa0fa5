// The program's clustering of one consensus resample.
#pragma once

#include "cluster/consensus/consensus_engine.hpp"

// k clusters from one random start with the design's -normalize, -t1 and -t2; writes nothing.
tResampleClusterer resample_clusterer(const tConsensusDesign& design);
