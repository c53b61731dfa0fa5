// The report page, section by section.
#include "cluster/report/html_report.hpp"

#include <ostream>
#include <string>

#include "cluster/report/heatmap.hpp"
#include "cluster/report/line_chart.hpp"
#include "cluster/report/svg_text.hpp"

namespace {

const char* const style =
    "body{font-family:sans-serif;margin:24px;color:#222;background:#f6f4ef;max-width:1200px}"
    "h1{font-size:22px}h2{font-size:17px;margin-top:28px}"
    "table{border-collapse:collapse;background:#fff}"
    "th,td{border:1px solid #ccc;padding:3px 8px;text-align:right}"
    "th{background:#eceae4}td.text,th.text{text-align:left}"
    "code{font-size:13px;overflow-wrap:anywhere}"
    ".charts{display:flex;flex-wrap:wrap;gap:8px}.charts svg,.figure svg{background:#fff}"
    ".swatch{display:inline-block;width:12px;height:12px;margin-right:6px;vertical-align:middle}";

void row(std::ostream& os, const std::string& name, const std::string& value) {
  os << "<tr><th class=\"text\">" << name << "</th><td class=\"text\">" << value << "</td></tr>\n";
}

void write_run_section(std::ostream& os, const tRunRecord& run, const matrix& data) {
  const tInputRecord& in = run.input;
  os << "<h2>Run</h2>\n<table>\n";
  row(os, "Command line", "<code>" + xml_escaped(run.command_line) + "</code>");
  row(os, "Seed", run.seed ? std::to_string(*run.seed) : std::string("not fixed"));
  row(os, "Input", xml_escaped(in.name));
  row(os, "Format", xml_escaped(in.format));
  row(os, "Rows read", std::to_string(in.rows_read));
  row(os, "Rows kept", std::to_string(in.rows_kept));
  row(os, "Rows dropped", std::to_string(in.rows_dropped));
  row(os, "Missing values", std::to_string(in.missing_values));
  row(os, "Matrix clustered",
      std::to_string(data.dim1()) + " rows \xC3\x97 " + std::to_string(data.dim2()) + " columns" +
          (run.normalized ? ", rows scaled to unit length" : ""));
  row(os, "Clusters (k)", std::to_string(run.num_clusters));
  row(os, "Iteration steps (-t1), tolerance (-t2)",
      std::to_string(run.t1) + ", " + short_number(run.t2, 6));
  os << "</table>\n";
}

void write_objective_section(std::ostream& os, const tRunRecord& run) {
  os << "<h2>Objective</h2>\n<div class=\"charts\">\n";
  tLineChart passes{"Objective after each k-svd pass", "pass", run.pass_objectives, {}, false};
  write_line_chart(os, passes);
  tLineChart restarts{"Final objective of each start", "start", run.restart_objectives, {}, false};
  write_line_chart(os, restarts);
  os << "</div>\n<table>\n<tr><th>Start</th><th>Objective</th></tr>\n";
  for (std::size_t s = 0; s < run.restart_objectives.size(); ++s)
    os << "<tr><td>" << s + 1 << "</td><td>" << short_number(run.restart_objectives[s], 10)
       << "</td></tr>\n";
  os << "</table>\n";
}

std::string score(double x) {
  return short_number(x, 4);
}

void write_cluster_section(std::ostream& os, const tFinishedClustering& clustering,
                           const std::vector<double>& scores, double objective) {
  const std::vector<tClusterSummary> summaries = cluster_summaries(clustering, scores, objective);
  os << "<h2>Clusters</h2>\n<table>\n<tr><th class=\"text\">Cluster</th><th>Rows</th>"
        "<th>Share of objective</th><th>Groups (halves)</th><th>Half sizes</th>"
        "<th>H_ave (squared)</th><th>H_min</th></tr>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const tClusterSummary& s = summaries[i];
    os << "<tr><td class=\"text\"><span class=\"swatch\" style=\"background:"
       << cluster_colour(static_cast<int>(i)) << "\"></span>" << i << "</td><td>" << s.size
       << "</td><td>" << short_number(100 * s.share, 3) << "%</td><td>" << 2 * i << ", "
       << 2 * i + 1 << "</td><td>" << s.half_sizes[0] << ", " << s.half_sizes[1] << "</td><td>"
       << score(s.h_ave) << "</td><td>" << score(s.h_min) << "</td></tr>\n";
  }
  const tQualityScores q = quality_scores(clustering.data, clustering.clusters, clustering.means);
  os << "</table>\n<p>Whole clustering: S_ave (squared) " << score(q.s_ave) << ", S_max "
     << score(q.s_max) << ", H_ave (squared) " << score(q.h_ave) << ", H_min " << score(q.h_min)
     << ". A row's score is its squared product with its cluster's direction; H_min uses the "
        "plain product, so a cluster's negative side lowers it.</p>\n";
}

void write_direction_section(std::ostream& os, const tFinishedClustering& clustering,
                             const std::vector<std::string>& column_names) {
  os << "<h2>Directions</h2>\n<div class=\"charts\">\n";
  for (int i = 0; i < clustering.clusters.size(); ++i) {
    const vector& mean = clustering.means[i];
    if (clustering.clusters[i].empty() || mean.dim() == 0) continue;
    tLineChart chart{
        "Cluster " + std::to_string(i) + " direction", "column", {}, column_names, true};
    chart.values.assign(mean.data(), mean.data() + mean.dim());
    write_line_chart(os, chart);
  }
  os << "</div>\n";
}

}  // namespace

void write_html_report(std::ostream& os, const tRunRecord& run,
                       const tFinishedClustering& clustering) {
  const std::vector<double> scores = row_scores(clustering);
  os << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        "<title>Clustering report</title>\n<style>"
     << style << "</style>\n</head>\n<body>\n<h1>Clustering report</h1>\n";
  write_run_section(os, run, clustering.data);
  write_objective_section(os, run);
  write_cluster_section(os, clustering, scores, run.objective);
  write_direction_section(os, clustering, run.input.column_names);
  os << "<h2>Heatmap</h2>\n<div class=\"figure\">\n";
  write_heatmap_svg(os, clustering, scores, run.input.column_names);
  os << "</div>\n</body>\n</html>\n";
}
