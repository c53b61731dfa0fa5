// The clustered matrix as an SVG heatmap with cluster and half bands and a colour legend.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cluster/report/cluster_summary.hpp"

// Cells drawn at most; larger matrices are drawn by averaging bins of rows (about 10 bytes each).
constexpr long long heatmap_max_cells = 200000;
constexpr int heatmap_max_columns = 1000;  // wider matrices average adjacent columns

// The <svg> element alone (for embedding in a page). Rows as heatmap_row_order gives them,
// columns in input order; column_names empty means columns are labelled 1 .. cols.
void write_heatmap_svg(std::ostream& os, const tFinishedClustering& clustering,
                       const std::vector<double>& scores,
                       const std::vector<std::string>& column_names);

// A standalone SVG file: the XML declaration, then write_heatmap_svg.
void write_heatmap_file(std::ostream& os, const tFinishedClustering& clustering,
                        const std::vector<double>& scores,
                        const std::vector<std::string>& column_names);

// The fill of cluster i's band, cycling through ten distinct colours.
const char* cluster_colour(int i);
