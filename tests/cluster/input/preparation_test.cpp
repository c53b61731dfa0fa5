// Row preparation: centring, z-scores, unit length, each with its warning, the all-nonnegative
// warning, and the steps over the rows kept as the settings choose them.
#include "cluster/input/preparation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

matrix rows_of(const std::vector<std::vector<double>>& rows) {
  matrix m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
  for (int i = 0; i < m.dim1(); ++i)
    for (int j = 0; j < m.dim2(); ++j) m(i, j) = rows[i][j];
  return m;
}

}  // namespace

TEST(Preparation, EachStepGivesItsRowsAndWarnings) {
  const struct {
    const char* step;
    std::function<void(matrix&)> apply;
    std::vector<std::vector<double>> in, out;
    std::string warning;
  } cases[] = {
      {"center", center_rows, {{1, 2, 6}, {-1, -1, -1}}, {{-2, -1, 3}, {0, 0, 0}}, ""},
      {"zscore",
       zscore_rows,
       {{1, 2, 3}, {4, 4, 4}},
       {{-1, 0, 1}, {0, 0, 0}},
       "\nWarning: -zscore: 1 row(s) of zero variance left as zeros\n"},
      {"nonnegative",
       warn_if_nonnegative,
       {{0, 2}, {3, 0}},
       {{0, 2}, {3, 0}},
       "\nWarning: every value of the data is >= 0: the sign bisection cannot split such rows "
       "(each cluster's second half stays empty); -center subtracts each row's mean first\n"},
      {"signed", warn_if_nonnegative, {{0, -2}, {3, 0}}, {{0, -2}, {3, 0}}, ""},
      {"normalize",
       normalize_rows,
       {{3, 4}, {0, 0}, {-1, 1}, {0, 0}},
       {{0.6, 0.8}, {0, 0}, {-1 / std::sqrt(2.0), 1 / std::sqrt(2.0)}, {0, 0}},
       "\nWarning: -normalize: 2 row(s) of length 0 left as they are\n"},
      {"settings: center",
       [](matrix& m) {
         tReadSettings settings;
         settings.center = true;
         prepare_rows(m, settings);
       },
       {{1, 2, 6}},
       {{-2, -1, 3}},
       ""},
      {"settings: zscore",
       [](matrix& m) {
         tReadSettings settings;
         settings.zscore = true;
         prepare_rows(m, settings);
       },
       {{1, 2, 3}},
       {{-1, 0, 1}},
       ""},
      {"settings: neither",
       [](matrix& m) { prepare_rows(m, tReadSettings()); },
       {{0, 2}},
       {{0, 2}},
       "\nWarning: every value of the data is >= 0: the sign bisection cannot split such rows "
       "(each cluster's second half stays empty); -center subtracts each row's mean first\n"},
  };
  for (const auto& c : cases) {
    matrix data = rows_of(c.in);
    testing::internal::CaptureStderr();
    c.apply(data);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.warning) << c.step;
    for (int i = 0; i < data.dim1(); ++i)
      for (int j = 0; j < data.dim2(); ++j) EXPECT_EQ(data(i, j), c.out[i][j]) << c.step;
  }
  EXPECT_EQ(row_variance(std::vector<double>{1, 3}.data(), 2), 1.0);
}
