// The estimator's native side: one clustering of a numpy array, and rows placed by directions.
#include "python/clustering_binding.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "algorithms/products.hpp"
#include "cluster/clustering.hpp"
#include "cluster/limits.hpp"
#include "cluster/run_seed.hpp"
#include "lib/parallel.hpp"
#include "python/fatal_report.hpp"

namespace py = pybind11;

namespace {

template <class T>
void copy_rows(const py::array& X, matrix& data) {
  const T* from = static_cast<const T*>(X.data());
  double* to = data.data();
  const long count = static_cast<long>(data.dim1()) * data.dim2();
  for (long i = 0; i < count; ++i) to[i] = static_cast<double>(from[i]);
}

// The rows of a C-contiguous float64 or float32 array as the clustering's matrix: its one copy
// (the matrix owns its storage), float32 converted on the way.
matrix matrix_of(const py::array& X) {
  if (X.ndim() != 2) throw tFatalReport("expected a 2-d array");
  if (!(X.flags() & py::array::c_style)) throw tFatalReport("expected a C-contiguous array");
  if (X.shape(0) > INT_MAX || X.shape(1) > INT_MAX)
    throw tFatalReport("an array of " + std::to_string(X.shape(0)) + " x " +
                       std::to_string(X.shape(1)) + " is too large");
  matrix data(static_cast<int>(X.shape(0)), static_cast<int>(X.shape(1)));
  if (py::isinstance<py::array_t<double>>(X))
    copy_rows<double>(X, data);
  else if (py::isinstance<py::array_t<float>>(X))
    copy_rows<float>(X, data);
  else
    throw tFatalReport("expected float64 or float32 values in native byte order");
  return data;
}

template <class T>
py::array_t<std::int64_t> int64_array(const std::vector<T>& values) {
  py::array_t<std::int64_t> out(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), out.mutable_data());
  return out;
}

// One row per direction; a cluster without one (empty from the start) is a row of zeros.
py::array_t<double> directions_array(const array<vector>& means, int dim) {
  py::array_t<double> out({means.size(), dim});
  double* to = out.mutable_data();
  std::fill(to, to + static_cast<long>(means.size()) * dim, 0.0);
  for (int i = 0; i < means.size(); ++i)
    if (means[i].dim() == dim)
      std::copy(means[i].data(), means[i].data() + dim, to + long(i) * dim);
  return out;
}

py::dict result_dict(const tClusteringResult& result, int dim) {
  py::dict scores;
  scores["S_ave"] = result.scores.s_ave;
  scores["S_max"] = result.scores.s_max;
  scores["H_ave"] = result.scores.h_ave;
  scores["H_min"] = result.scores.h_min;
  py::dict out;
  out["labels"] = int64_array(result.labels);
  out["groups"] = int64_array(result.groups);
  out["centers"] = directions_array(result.means, dim);
  out["objective"] = result.objective;
  out["scores"] = scores;
  out["seed"] = result.seed;
  out["objectives"] = py::array_t<double>(py::cast(result.start_objectives));
  out["n_iter"] = result.pass_objectives.size();
  return out;
}

py::dict fit(const py::array& X, int k, int restarts, std::uint64_t seed, bool normalize, int t1,
             double t2, int threads) {
  if (X.ndim() == 2 && X.shape(0) > max_rows)
    throw tFatalReport("n_samples=" + std::to_string(X.shape(0)) + " is above the " +
                       std::to_string(max_rows) + " rows the clustering can hold");
  const matrix data = matrix_of(X);
  tClusteringSettings settings;
  settings.num_clusters = k;
  settings.restarts = restarts;
  settings.seed = seed;
  settings.normalize = normalize;
  settings.t1 = t1;
  settings.t2 = t2;
  tClusteringResult result;
  {
    py::gil_scoped_release unlocked;
    const tThreadCountScope scope(threads);
    tClusteringObserver quiet;
    result = cluster_rows(data, settings, quiet);
  }
  return result_dict(result, data.dim2());
}

// Rows per parallel task: a multiple of the panel's rows.
constexpr int kRowsPerTask = 64 * tMeanPanel::max_rows;

// Each row's products with every direction, and its cluster by the clustering's own rule: the
// offered direction of largest squared product, the lowest on ties, the lowest offered one when
// no product is a number.
py::tuple assign(const py::array& X, const py::array& centers, const std::vector<int>& offered,
                 int threads) {
  const matrix data = matrix_of(X);
  const matrix directions = matrix_of(centers);
  if (directions.dim2() != data.dim2()) throw tFatalReport("directions and rows differ in length");
  const int n = data.dim1(), k = directions.dim1();
  for (int j : offered)
    if (j < 0 || j >= k) throw tFatalReport("offered cluster out of range");
  py::array_t<double> squares({n, k});
  py::array_t<std::int64_t> labels(n);
  double* square_out = squares.mutable_data();
  std::int64_t* label_out = labels.mutable_data();
  {
    py::gil_scoped_release unlocked;
    const tThreadCountScope scope(threads);
    array<vector> means(k);
    for (int j = 0; j < k; ++j) means[j] = directions.row(j);
    std::vector<int> all(k);
    for (int j = 0; j < k; ++j) all[j] = j;
    const tMeanPanel panel(means, all, data.dim2());
    parallel_for((n + kRowsPerTask - 1) / kRowsPerTask, [&](int task) {
      std::vector<double> products(static_cast<std::size_t>(tMeanPanel::max_rows) * k);
      const int end = std::min(n, (task + 1) * kRowsPerTask);
      for (int t = task * kRowsPerTask; t < end; t += tMeanPanel::max_rows) {
        const int count = std::min(end - t, tMeanPanel::max_rows);
        const double* rows[tMeanPanel::max_rows];
        for (int h = 0; h < count; ++h)
          rows[h] = data.data() + static_cast<long>(t + h) * data.dim2();
        panel.products(rows, count, products.data());
        for (int h = 0; h < count; ++h) {
          const double* p = products.data() + static_cast<std::size_t>(h) * k;
          double* row_squares = square_out + static_cast<long>(t + h) * k;
          for (int j = 0; j < k; ++j) row_squares[j] = p[j] * p[j];
          double best = -2.0;
          int chosen = -1;
          for (int j : offered)
            if (row_squares[j] > best) {
              best = row_squares[j];
              chosen = j;
            }
          label_out[t + h] = chosen >= 0 ? chosen : offered.empty() ? -1 : offered[0];
        }
      }
    });
  }
  return py::make_tuple(labels, squares);
}

}  // namespace

void bind_clustering(py::module_& module) {
  module.attr("MAX_ROWS") = max_rows;
  module.attr("MAX_CLUSTERS") = max_num_clusters;
  module.def("clock_seed", &clock_seed, "A seed from the clock and the process id.");
  module.def("_fit", &fit, py::arg("X"), py::arg("n_clusters"), py::arg("n_init"), py::arg("seed"),
             py::arg("normalize"), py::arg("t1"), py::arg("t2"), py::arg("n_threads"));
  module.def("_assign", &assign, py::arg("X"), py::arg("centers"), py::arg("offered"),
             py::arg("n_threads"));
}
