// The run's named output files beyond the label files: finishing them whole, and the pictures.
#pragma once

#include <iosfwd>
#include <memory>

#include "cluster/cluster_summary.hpp"
#include "cluster/clustering.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/output_file.hpp"
#include "cluster/run_record.hpp"
#include "lib/string.hpp"

class tOptions;

// A named file replaces its target whole; otherwise os (standard output) is checked for loss.
void finish_output(const std::unique_ptr<tOutputFile>& file, std::ostream& os, const string& name);

// What the report shows of the settings, the input, the starts and the kept start's passes.
tRunRecord run_record(const tOptions& options, int argc, const char** argv,
                      const tExpressionData& input, const tClusteringResult& clustering);

// The -heatmap and -report files, each only when named.
void write_pictures(const tOptions& options, const tRunRecord& record,
                    const tFinishedClustering& clustering);
