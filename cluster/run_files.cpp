// Opening the run's files: inputs first, then every output, each named in its own fault.
#include "cluster/run_files.hpp"

#include <iostream>

#include "cluster/label_files.hpp"

namespace {

std::unique_ptr<tInputFile> open_for_reading(const std::optional<std::string>& name,
                                             tInputNeed need) {
  if (!name || *name == "-") return nullptr;
  return std::make_unique<tInputFile>(string(name->c_str()), need);
}

std::unique_ptr<tOutputFile> open_for_writing(const std::optional<std::string>& name) {
  if (!name) return nullptr;
  return std::make_unique<tOutputFile>(string(name->c_str()));
}

}  // namespace

tRunFiles::tRunFiles(const tRunOptions& options) {
  input_ = open_for_reading(options.input, tInputNeed::content);
  input2_ = open_for_reading(options.input2, tInputNeed::any);  // named, never read
  const tOutputNames& names = options.outputs;
  groups = open_for_writing(names.groups);
  clusters = open_for_writing(names.clusters);
  starts = open_for_writing(names.starts);
  table = open_for_writing(names.table);
  heatmap = open_for_writing(names.heatmap);
  report = open_for_writing(names.report);
}

std::istream& tRunFiles::input() {
  return input_ ? input_->stream() : std::cin;
}

std::ostream& tRunFiles::stream_of(const std::unique_ptr<tOutputFile>& file) {
  return file ? file->stream() : std::cout;
}

std::string tRunFiles::name_of(const std::unique_ptr<tOutputFile>& file) {
  return file ? file->name().c_str() : "stdout";
}

void finish_output(const std::unique_ptr<tOutputFile>& file) {
  if (file)
    file->commit();
  else
    check_written(std::cout, "stdout");
}
