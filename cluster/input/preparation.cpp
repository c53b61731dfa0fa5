// Row-wise preparation steps; every sum runs over the columns in order.
#include "cluster/input/preparation.hpp"

#include <cmath>
#include <cstring>

#include "lib/diagnostics.hpp"

namespace {

double row_mean(const double* row, int cols) {
  double sum = 0.0;
  for (int j = 0; j < cols; ++j) sum += row[j];
  return sum / cols;
}

}  // namespace

bool fill_missing(double* row, const unsigned char* missing, int cols, tMissingPolicy policy) {
  if (cols == 0 || std::memchr(missing, 1, static_cast<std::size_t>(cols)) == nullptr) return true;
  if (policy == tMissingPolicy::zero) return true;
  if (policy == tMissingPolicy::drop) return false;
  double sum = 0.0;
  int present = 0;
  for (int j = 0; j < cols; ++j)
    if (!missing[j]) {
      sum += row[j];
      ++present;
    }
  if (present == 0) return false;
  const double mean = sum / present;
  for (int j = 0; j < cols; ++j)
    if (missing[j]) row[j] = mean;
  return true;
}

void log2_row(double* row, int cols, const char* input, const char* row_name) {
  for (int j = 0; j < cols; ++j) {
    if (row[j] < 0)
      bye("-log2: %s: row \"%s\", column %d holds the negative value %g", input, row_name, j,
          row[j]);
    row[j] = std::log2(row[j] + 1.0);
  }
}

double row_variance(const double* row, int cols) {
  if (cols == 0) return 0.0;
  const double mean = row_mean(row, cols);
  double sum = 0.0;
  for (int j = 0; j < cols; ++j) {
    const double deviation = row[j] - mean;
    sum += deviation * deviation;
  }
  return sum / cols;
}

void center_rows(matrix& data) {
  const int cols = data.dim2();
  if (cols == 0) return;
  for (int i = 0; i < data.dim1(); ++i) {
    double* row = data.row(i).data();
    const double mean = row_mean(row, cols);
    for (int j = 0; j < cols; ++j) row[j] = row[j] - mean;
  }
}

void zscore_rows(matrix& data) {
  const int cols = data.dim2();
  if (cols == 0) return;
  int constant_rows = 0;
  for (int i = 0; i < data.dim1(); ++i) {
    double* row = data.row(i).data();
    const double mean = row_mean(row, cols);
    double sum = 0.0;
    for (int j = 0; j < cols; ++j) {
      row[j] = row[j] - mean;
      sum += row[j] * row[j];
    }
    const double deviation = cols > 1 ? std::sqrt(sum / (cols - 1)) : 0.0;
    if (deviation == 0.0) {
      ++constant_rows;
      for (int j = 0; j < cols; ++j) row[j] = 0.0;
      continue;
    }
    for (int j = 0; j < cols; ++j) row[j] = row[j] / deviation;
  }
  if (constant_rows > 0)
    warning("-zscore: %d row(s) of zero variance left as zeros", constant_rows);
}

bool prepare_row(double* row, const unsigned char* missing, int cols, const tReadSettings& settings,
                 const char* input, const char* row_name) {
  if (!fill_missing(row, missing, cols, settings.missing)) return false;
  if (settings.log2) log2_row(row, cols, input, row_name);
  return true;
}

void prepare_rows(matrix& data, const tReadSettings& settings) {
  if (settings.center) center_rows(data);
  if (settings.zscore) zscore_rows(data);
  if (!settings.center && !settings.zscore) warn_if_nonnegative(data);
}

void normalize_rows(matrix& data) {
  int zero_rows = 0;
  for (int r = 0; r < data.dim1(); ++r) {
    vector& row = data.row(r);
    const double length = row.length();
    if (length == 0) {
      ++zero_rows;
      continue;
    }
    double* entries = row.data();
    for (int j = 0; j < row.dim(); ++j) entries[j] = entries[j] / length;
  }
  if (zero_rows > 0) warning("-normalize: %d row(s) of length 0 left as they are", zero_rows);
}

void warn_if_nonnegative(const matrix& data) {
  const long long count = static_cast<long long>(data.dim1()) * data.dim2();
  if (count == 0) return;
  const double* entries = data.data();
  for (long long e = 0; e < count; ++e)
    if (entries[e] < 0) return;
  warning(
      "every value of the data is >= 0: the sign bisection cannot split such rows (each "
      "cluster's second half stays empty); -center subtracts each row's mean first");
}
