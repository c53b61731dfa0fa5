// read_table: the clusterer's reading and preparation of an expression table, for Python.
#include "python/table_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cluster/input/matrix_input.hpp"
#include "cluster/limits.hpp"
#include "python/fatal_report.hpp"

namespace py = pybind11;

namespace {

// The words and numbers of the call as the program's options would hold them.
tReadSettings table_request(const std::string& format, const std::string& missing, bool log2,
                            int top, bool center, bool zscore) {
  tReadSettings request;
  if (!format_named(format.c_str(), request.format))
    throw tFatalReport("format '" + format +
                       "': the formats are auto, matrix, tsv, ssv, csv, csv2, gct and pcl");
  if (!missing_policy_named(missing.c_str(), request.missing))
    throw tFatalReport("missing '" + missing + "': the choices are zero, rowmean and drop");
  if (top < 0 || top > max_rows)
    throw tFatalReport("top " + std::to_string(top) + ": between 1 and " +
                       std::to_string(max_rows) + " rows can be kept");
  if (center && zscore)
    throw tFatalReport("center and zscore: give one of them (zscore centres too)");
  request.log2 = log2;
  request.top = top;
  request.center = center;
  request.zscore = zscore;
  return request;
}

// The one seam to the clusterer's input: read and prepared as the program does it.
tExpressionData read_and_prepare(const std::string& path, const tReadSettings& request) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw tFileFault{errno, path};
  std::ostream no_progress(nullptr);
  return read_prepared_data(file, path.c_str(), request, no_progress);
}

// The values as a numpy array that owns the matrix read: no copy.
py::array_t<double> values_of(matrix&& data) {
  auto* held = new matrix(std::move(data));
  py::capsule owner(held, [](void* p) { delete static_cast<matrix*>(p); });
  const py::ssize_t rows = held->dim1(), cols = held->dim2();
  return py::array_t<double>({rows, cols},
                             {cols * py::ssize_t(sizeof(double)), py::ssize_t(sizeof(double))},
                             held->data(), owner);
}

py::tuple read_table(const std::string& path, const std::string& format, const std::string& missing,
                     bool log2, int top, bool center, bool zscore) {
  const tReadSettings request = table_request(format, missing, log2, top, center, zscore);
  require_readable(path);
  tExpressionData input;
  {
    py::gil_scoped_release unlocked;
    input = read_and_prepare(path, request);
  }
  std::vector<std::string> row_names, column_names;
  for (int i = 0; i < input.data.dim1(); ++i)
    row_names.emplace_back(input.names.get_name(i).c_str());
  for (const string& name : input.column_names) column_names.emplace_back(name.c_str());
  std::vector<std::string> dropped;
  for (const string& name : input.dropped_names) dropped.emplace_back(name.c_str());
  return py::make_tuple(values_of(std::move(input.data)), row_names, column_names, dropped);
}

}  // namespace

void bind_read_table(py::module_& module) {
  module.def("_read_table", &read_table, py::arg("path"), py::arg("format"), py::arg("missing"),
             py::arg("log2"), py::arg("top"), py::arg("center"), py::arg("zscore"));
}
