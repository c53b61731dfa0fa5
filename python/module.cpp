// The compiled part of the clustering_toolkit package.
#include <pybind11/pybind11.h>

#include <cerrno>
#include <cstring>

#include "python/clustering_binding.hpp"
#include "python/distances_binding.hpp"
#include "python/fatal_report.hpp"
#include "python/table_binding.hpp"

namespace py = pybind11;

PYBIND11_MODULE(_clustering_toolkit, module) {
  module.doc() = "The clustering, the expression readers and distcorr's distances, compiled.";
  throw_fatal_reports();
  // OSError picks the subclass its error number names (FileNotFoundError, ...).
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const tFileFault& fault) {
      py::object error = py::reinterpret_borrow<py::object>(PyExc_OSError)(
          fault.error_number, std::strerror(fault.error_number), fault.path);
      PyErr_SetObject(PyExc_OSError, error.ptr());
    }
  });
  bind_clustering(module);
  bind_read_table(module);
  bind_distances(module);
}
