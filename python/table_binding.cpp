// read_table: the clusterer's reading and preparation of an expression table, for Python.
#include "python/table_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cluster/limits.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/preparation.hpp"
#include "python/fatal_report.hpp"

namespace py = pybind11;

namespace {

struct tTableRequest {
  tReadSettings read;
  bool center = false;
  bool zscore = false;
};

// The words and numbers of the call as the program's options would hold them.
tTableRequest table_request(const std::string& format, const std::string& missing, bool log2,
                            int top, bool center, bool zscore) {
  tTableRequest request;
  if (!format_named(format.c_str(), request.read.format))
    throw tFatalReport("format '" + format +
                       "': the formats are auto, matrix, tsv, csv, gct and pcl");
  if (!missing_policy_named(missing.c_str(), request.read.missing))
    throw tFatalReport("missing '" + missing + "': the choices are zero, rowmean and drop");
  if (top < 0 || top > max_rows)
    throw tFatalReport("top " + std::to_string(top) + ": between 1 and " +
                       std::to_string(max_rows) + " rows can be kept");
  if (center && zscore)
    throw tFatalReport("center and zscore: give one of them (zscore centres too)");
  request.read.log2 = log2;
  request.read.top = top;
  request.center = center;
  request.zscore = zscore;
  return request;
}

// The one seam to the clusterer's input: read as the program reads, then -center or -zscore.
tExpressionData read_and_prepare(const std::string& path, const tTableRequest& request) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw tFileFault{errno, path};
  std::ostream no_progress(nullptr);
  tExpressionData input = read_expression_data(file, path.c_str(), request.read, no_progress);
  if (request.center) center_rows(input.data);
  if (request.zscore) zscore_rows(input.data);
  return input;
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
  const tTableRequest request = table_request(format, missing, log2, top, center, zscore);
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
  return py::make_tuple(values_of(std::move(input.data)), row_names, column_names,
                        input.rows_dropped);
}

}  // namespace

void bind_read_table(py::module_& module) {
  module.def("_read_table", &read_table, py::arg("path"), py::arg("format"), py::arg("missing"),
             py::arg("log2"), py::arg("top"), py::arg("center"), py::arg("zscore"));
}
