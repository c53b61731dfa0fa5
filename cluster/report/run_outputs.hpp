// The pictures of a run and the record of the run they show.
#pragma once

#include <iosfwd>
#include <string>

#include "cluster/clustering.hpp"
#include "cluster/input/matrix_input.hpp"
#include "cluster/report/cluster_summary.hpp"
#include "cluster/report/run_record.hpp"
#include "io/output_file.hpp"

// What the report shows of the command line, the settings, the input (named input_name), the
// starts and the kept start's passes; normalized: the rows were scaled before the clustering.
tRunRecord run_record(const std::string& command_line, const std::string& input_name,
                      const tExpressionData& input, const tClusteringSettings& settings,
                      bool normalized, const tClusteringResult& clustering);

// The -heatmap and -report files, each only when named (not nullptr), committed whole.
void write_pictures(tOutputFile* heatmap, tOutputFile* report, const tRunRecord& record,
                    const tFinishedClustering& clustering);
