// The run's named output files beyond the label files: finishing them whole, and the pictures.
#include "cluster/run_outputs.hpp"

#include "cluster/heatmap.hpp"
#include "cluster/html_report.hpp"
#include "cluster/label_files.hpp"
#include "cluster/options.hpp"

void finish_output(const std::unique_ptr<tOutputFile>& file, std::ostream& os, const string& name) {
  if (file)
    file->commit();
  else
    check_written(os, name);
}

tRunRecord run_record(const tOptions& options, int argc, const char** argv,
                      const tExpressionData& input, const tClusteringResult& clustering) {
  tRunRecord record;
  record.command_line = command_line_of(argc, argv);
  record.seed = clustering.seed;
  record.input.name = options.simulate ? "simulated" : options.input_name.c_str();
  record.input.format = input.format.c_str();
  for (const string& name : input.column_names)
    record.input.column_names.emplace_back(name.c_str());
  record.input.rows_read = input.rows_read;
  record.input.rows_kept = input.data.dim1();
  record.input.rows_dropped = input.rows_dropped;
  record.input.missing_values = input.missing_values;
  record.num_clusters = options.num_clusters;
  record.t1 = options.t1;
  record.t2 = options.t2;
  record.normalized = options.normalize != 0;
  record.pass_objectives = clustering.pass_objectives;
  record.restart_objectives = clustering.start_objectives;
  return record;
}

void write_pictures(const tOptions& options, const tRunRecord& record,
                    const tFinishedClustering& clustering) {
  if (options.heatmap_stream) {
    write_heatmap_file(options.heatmap_stream->stream(), clustering, row_scores(clustering),
                       record.input.column_names);
    options.heatmap_stream->commit();
  }
  if (options.report_stream) {
    write_html_report(options.report_stream->stream(), record, clustering);
    options.report_stream->commit();
  }
}
