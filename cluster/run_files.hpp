// The files a run reads and writes, opened once the whole command line has been accepted.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "cluster/options.hpp"
#include "io/input_file.hpp"
#include "io/output_file.hpp"

class tRunFiles {
 public:
  // Opens every named input and output; a file that cannot be opened (an -i that is empty or a
  // directory too) ends the run through bye(), naming it, and leaves every output as it was.
  explicit tRunFiles(const tRunOptions& options);

  std::istream& input();  // -i file, otherwise (also for "-") standard input

  // Each named output's file, nullptr when not named.
  std::unique_ptr<tOutputFile> groups, clusters, starts, table, heatmap, report;

  // The file's stream, standard output when it is not named.
  static std::ostream& stream_of(const std::unique_ptr<tOutputFile>& file);
  // The file's name, "stdout" when it is not named.
  static std::string name_of(const std::unique_ptr<tOutputFile>& file);

 private:
  std::unique_ptr<tInputFile> input_, input2_;
};

// A named file replaces its target whole; otherwise standard output is checked for loss.
void finish_output(const std::unique_ptr<tOutputFile>& file);
