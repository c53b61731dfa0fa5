// distances: distcorr's corrected pairwise distances of an alignment file, for Python.
#include "python/distances_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "distcorr/alignment_input.hpp"
#include "distcorr/corrected_matrix.hpp"
#include "distcorr/options.hpp"
#include "distcorr/site_planes.hpp"
#include "io/input_file.hpp"
#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"
#include "lib/parallel.hpp"
#include "python/fatal_report.hpp"

namespace py = pybind11;

namespace {

// The settings through distcorr's own option parser, so that a keyword takes exactly the values
// and combinations the program's option does.
tDistcorrOptions distcorr_options(const std::string& path, const std::vector<std::string>& words) {
  std::vector<const char*> argv{"distcorr", "-i", path.c_str()};
  for (const std::string& word : words) argv.push_back(word.c_str());
  reset_getoption();  // the scanner's claims outlive a call; each call is a command line of its own
  return parse_distcorr_options(static_cast<int>(argv.size()), argv.data());
}

// The distances as distcorr computes them before it writes them.
tCorrectedMatrix corrected_distances(const tDistcorrOptions& o, std::vector<std::string>& names) {
  const tAlignment a = read_alignment(read_whole_input(o.input.c_str()), o.format, o.input);
  const tSitePlanes planes(a.sequences, o.deletion);
  warn_if_few_sites(planes, static_cast<long>(a.sequences[0].size()), o.deletion);
  tCorrectedMatrix corrected = corrected_matrix(planes, a.sequences, a.names, o, false);
  warn_if_saturated(corrected, planes.sequences(), o.fix.fix);
  names = a.names;
  return corrected;
}

py::tuple distances(const std::string& path, const std::vector<std::string>& words) {
  const tDistcorrOptions o = distcorr_options(path, words);
  require_readable(path);
  std::vector<std::string> names;
  tCorrectedMatrix corrected;
  {
    py::gil_scoped_release unlocked;
    corrected = corrected_distances(o, names);
  }
  const matrix& d = corrected.pairs.distances;
  py::array_t<double> square({d.dim1(), d.dim2()});
  std::copy(d.data(), d.data() + static_cast<long>(d.dim1()) * d.dim2(), square.mutable_data());
  return py::make_tuple(square, names);
}

}  // namespace

void bind_distances(py::module_& module) {
  module.def("_distances", &distances, py::arg("path"), py::arg("options"));
}
