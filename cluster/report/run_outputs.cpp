// The run record the HTML report shows, and the heatmap and report files.
#include "cluster/report/run_outputs.hpp"

#include "cluster/report/heatmap.hpp"
#include "cluster/report/html_report.hpp"

tRunRecord run_record(const std::string& command_line, const std::string& input_name,
                      const tExpressionData& input, const tClusteringSettings& settings,
                      bool normalized, const tClusteringResult& clustering) {
  tRunRecord record;
  record.command_line = command_line;
  record.seed = clustering.seed;
  record.input.name = input_name;
  record.input.format = input.format.c_str();
  for (const string& name : input.column_names)
    record.input.column_names.emplace_back(name.c_str());
  record.input.rows_read = input.rows_read;
  record.input.rows_kept = input.data.dim1();
  record.input.rows_dropped = input.rows_dropped;
  record.input.missing_values = input.missing_values;
  record.num_clusters = settings.num_clusters;
  record.t1 = settings.t1;
  record.t2 = settings.t2;
  record.normalized = normalized;
  record.objective = clustering.objective;
  record.pass_objectives = clustering.pass_objectives;
  record.restart_objectives = clustering.start_objectives;
  return record;
}

void write_pictures(tOutputFile* heatmap, tOutputFile* report, const tRunRecord& record,
                    const tFinishedClustering& clustering) {
  if (heatmap) {
    write_heatmap_file(heatmap->stream(), clustering, row_scores(clustering),
                       record.input.column_names);
    heatmap->commit();
  }
  if (report) {
    write_html_report(report->stream(), record, clustering);
    report->commit();
  }
}
