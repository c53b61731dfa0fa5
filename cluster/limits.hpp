// Size limits of a clustering run, shared by the parser, the reader and the simulation.
#pragma once

// Clusters hold row numbers in taxa sets, whose capacity stays below 7000*2 and which grow to
// twice the largest member: fewer than 7000 rows can be clustered.
constexpr int max_rows = 6999;
// -simulate makes ten rows per cluster.
constexpr int rows_per_simulated_cluster = 10;
constexpr int max_simulated_clusters = max_rows / rows_per_simulated_cluster;
// Group numbers run to 2k-1 and every cluster owns a set and a mean: keep k within memory.
constexpr int max_num_clusters = 1000000;
// Every start keeps its clustering until the best is chosen.
constexpr int max_restarts = 1000000;
