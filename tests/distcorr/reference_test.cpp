// Every model, with and without gamma, under both deletions, on woodmouse and on a simulated
// alignment with gaps and ambiguity codes, against the independent reference (per-site loops and
// the published formulas, reference_distances.py) and against ape's dist.dna (ape_reference.R).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.hpp"

namespace {

struct tPairValues {
  double distance, variance;  // NaN: saturated; variance NaN also where none is given
};

// (model, alpha, deletion) -> (a, b) -> values, from a table of the reference layout.
using tConfig = std::tuple<std::string, std::string, std::string>;
using tReference = std::map<tConfig, std::map<std::pair<std::string, std::string>, tPairValues>>;

double number(const std::string& word) {
  return word == "NA" ? std::nan("") : std::stod(word);
}

tReference read_reference(const std::string& path) {
  std::istringstream in(slurp(path));
  tReference table;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string model, alpha, deletion, a, b, d, v;
    std::getline(fields, model, '\t');
    std::getline(fields, alpha, '\t');
    std::getline(fields, deletion, '\t');
    std::getline(fields, a, '\t');
    std::getline(fields, b, '\t');
    std::getline(fields, d, '\t');
    std::getline(fields, v, '\t');
    table[{model, alpha, deletion}][{a, b}] = {number(d), number(v)};
  }
  return table;
}

// A square PHYLIP matrix by names.
std::map<std::pair<std::string, std::string>, double> read_matrix(const std::string& text) {
  std::istringstream in(text);
  std::size_t n = 0;
  in >> n;
  std::vector<std::string> names(n);
  std::vector<std::vector<double>> rows(n, std::vector<double>(n));
  for (std::size_t i = 0; i < n; ++i) {
    in >> names[i];
    for (double& v : rows[i]) in >> v;
  }
  std::map<std::pair<std::string, std::string>, double> cells;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) cells[{names[i], names[j]}] = rows[i][j];
  return cells;
}

bool close(double got, double want) {
  return std::fabs(got - want) <= 1e-12 * std::fabs(want);
}

TEST(DistcorrReference, EveryModelAgreesWithTheIndependentReferenceAndWithApe) {
  for (const std::string alignment : {"woodmouse", "simulated"}) {
    const tReference own = read_reference(DISTCORR_TEST_DATA "/expected_" + alignment + ".tsv");
    const tReference ape = read_reference(DISTCORR_TEST_DATA "/ape_" + alignment + ".tsv");
    ASSERT_EQ(own.size(), 32u);  // 8 models, 4 of them with two gamma shapes, two deletions
    for (const auto& [config, pairs] : own) {
      const auto& [model, alpha, deletion] = config;
      std::vector<std::string> arguments = {
          "-i",    DISTCORR_TEST_DATA "/" + alignment + ".fasta", "-model", model, "-deletion",
          deletion};
      const std::string variances = scratch(alignment + model + alpha + deletion);
      if (alpha != "0") arguments.insert(arguments.end(), {"-alpha", alpha});
      const bool has_variance = !(alpha != "0" && (model == "jc" || model == "f81"));
      if (has_variance) arguments.insert(arguments.end(), {"-variance", variances});
      const tRun r = run_program(DISTCORR_PATH, arguments);
      const std::string what = alignment + " " + model + " " + alpha + " " + deletion;
      ASSERT_EQ(r.status, 0) << what << r.err;
      const auto d = read_matrix(r.out);
      const auto v = has_variance ? read_matrix(slurp(variances)) : d;
      for (const auto& [pair, want] : pairs) {
        const double got = d.at(pair);
        const tPairValues theirs = ape.at(config).at(pair);
        if (std::isnan(want.distance)) {
          EXPECT_EQ(got, -1.0) << what << " " << pair.first << " " << pair.second;
          continue;
        }
        EXPECT_TRUE(close(got, want.distance)) << what << " " << pair.first << " " << pair.second;
        EXPECT_TRUE(close(got, theirs.distance)) << what << " ape " << pair.first;
        if (!has_variance) continue;
        EXPECT_TRUE(close(v.at(pair), want.variance)) << what << " variance " << pair.first;
        // ape leaves raw's variance unset, and its LogDet variance is not the delta method's.
        if (model != "raw" && model != "logdet") {
          EXPECT_TRUE(close(v.at(pair), theirs.variance)) << what << " ape variance " << pair.first;
        }
      }
    }
  }
}

}  // namespace
