// One self-contained HTML page about a run: settings, input, objectives, clusters, heatmap.
#pragma once

#include <iosfwd>

#include "cluster/report/cluster_summary.hpp"
#include "cluster/report/run_record.hpp"

// The whole page: inline CSS and SVG only, no script and no reference to another file or host.
void write_html_report(std::ostream& os, const tRunRecord& run,
                       const tFinishedClustering& clustering);
