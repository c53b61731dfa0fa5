// The clustering kernels against the independent reference's exact doubles (data/<case>.bits):
// initial means, k-svd objective and means, and k-means on every bisected cluster.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "algorithms/kmeans.hpp"
#include "algorithms/sqkmeans.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/input/matrix_input.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/label_files.hpp"
#include "lib/parallel.hpp"
#include "tests/algorithms/each_width.hpp"

namespace {

// The run settings of one line of cases.txt.
struct tCase {
  std::string name, matrix, init;
  int k = 5, t1 = 20;
  double t2 = 0.001;
  bool normalize = false;
};

std::vector<tCase> golden_cases() {
  std::vector<tCase> cases;
  std::ifstream in(GOLDEN_CASES);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    tCase c;
    words >> c.name;
    for (std::string w; words >> w;) {
      if (w == "-i") words >> c.matrix;
      if (w == "-init_clusters") words >> c.init;
      if (w == "-num_clusters") words >> c.k;
      if (w == "-t1") words >> c.t1;
      if (w == "-t2") words >> c.t2;
      if (w == "-normalize") c.normalize = true;
    }
    cases.push_back(c);
  }
  return cases;
}

std::string data_path(const std::string& name) {
  return std::string(GOLDEN_DATA "/") + name;
}

// Equal bit patterns; any two not-a-number values count as equal.
bool same_double(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

double read_hex(std::istream& is) {
  std::string token;
  is >> token;
  return std::strtod(token.c_str(), nullptr);
}

vector read_hex_vector(std::istream& is) {
  int dim = 0;
  is >> dim;
  vector v(dim);
  for (int i = 0; i < dim; ++i) v[i] = read_hex(is);
  return v;
}

void expect_same_vector(const vector& expected, const vector& actual, const std::string& what) {
  ASSERT_EQ(expected.dim(), actual.dim()) << what;
  for (int i = 0; i < expected.dim(); ++i)
    EXPECT_TRUE(same_double(expected[i], actual[i]))
        << what << " entry " << i << ": reference " << std::hexfloat << expected[i] << ", ours "
        << actual[i];
}

std::string members_text(const tTaxaSet& s) {
  std::ostringstream text;
  s.print(text);
  return text.str();
}

// One half of a bisected cluster as the .bits file lists it: members, then the mean.
struct tHalf {
  tTaxaSet members;
  vector mean;
};

tHalf read_half(std::istream& is) {
  tHalf h;
  int n = 0;
  is >> n;
  for (int j = 0; j < n; ++j) {
    int r = 0;
    is >> r;
    h.members.insert(r);
  }
  h.mean = read_hex_vector(is);
  return h;
}

// The data of a case as the clusterer prepares them.
matrix case_data(const tCase& c) {
  std::ifstream in(data_path(c.matrix));
  tExpressionData d = read_expression_matrix(in, 0, std::cout);
  if (c.normalize) normalize_rows(d.data);
  return d.data;
}

// Every "initial", "objective" and "mean" line checked against our initial means and k-svd run.
void check_ksvd(const tCase& c, const matrix& data, std::istream& bits) {
  const array<int> assignment =
      read_initial_assignment(data_path(c.init).c_str(), data.dim1(), c.k);
  array<tTaxaSet> clusters = clusters_of(assignment, c.k);
  array<vector> means = initial_means(data, clusters, c.t1);
  std::vector<bool> initial_seen(c.k, false);
  bool ran = false;
  for (std::string tag; bits >> tag;) {
    int i = 0;
    if (tag == "initial") {
      bits >> i;
      initial_seen[i] = true;
      expect_same_vector(read_hex_vector(bits), means[i], "initial mean " + std::to_string(i));
    } else if (tag == "objective") {
      for (int j = 0; j < c.k; ++j)
        EXPECT_EQ(initial_seen[j], means[j].dim() > 0) << "initial mean " << j;
      const double expected = read_hex(bits);
      const double obj = sqkmeans(data, clusters, means, c.t2, c.t1);
      ran = true;
      EXPECT_TRUE(same_double(expected, obj))
          << "objective: reference " << std::hexfloat << expected << ", ours " << obj;
    } else if (tag == "mean") {
      bits >> i;
      expect_same_vector(read_hex_vector(bits), means[i], "k-svd mean " + std::to_string(i));
    } else {
      break;
    }
  }
  EXPECT_TRUE(ran) << "no objective line";
}

// Every pair of "split" lines run through kmeans and compared with the following "halved" pair.
void check_kmeans(const tCase& c, const matrix& data, std::istream& bits) {
  int checked = 0;
  for (std::string line; std::getline(bits, line);) {
    if (line.rfind("split ", 0) != 0) continue;
    std::string second, third, fourth;
    std::getline(bits, second);
    std::getline(bits, third);
    std::getline(bits, fourth);
    const std::string pairs[4] = {line, second, third, fourth};
    array<tTaxaSet> halves(2), expected_halves(2);
    array<vector> half_means(2), expected_means(2);
    int cluster = -1;
    for (int p = 0; p < 4; ++p) {
      std::istringstream words(pairs[p]);
      std::string tag;
      int side = 0;
      words >> tag >> cluster >> side;
      ASSERT_EQ(tag, p < 2 ? "split" : "halved");
      tHalf h = read_half(words);
      (p < 2 ? halves : expected_halves)[side] = h.members;
      (p < 2 ? half_means : expected_means)[side] = h.mean;
    }
    kmeans(data, halves, half_means, c.t2);
    for (int side = 0; side < 2; ++side) {
      const std::string what =
          "cluster " + std::to_string(cluster) + " half " + std::to_string(side);
      EXPECT_EQ(members_text(expected_halves[side]), members_text(halves[side])) << what;
      expect_same_vector(expected_means[side], half_means[side], what + " mean");
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// check(case, data, bits) for every case at every lane width and with one and two threads.
template <class Check>
void for_every_case(Check check) {
  const std::vector<tCase> cases = golden_cases();
  ASSERT_FALSE(cases.empty());
  for_each_width([&](const std::string& width) {
    for (int threads : {1, 2}) {
      set_thread_count(threads);
      for (const tCase& c : cases) {
        SCOPED_TRACE(width + std::to_string(threads) + " threads: " + c.name);
        const matrix data = case_data(c);
        std::ifstream bits(data_path(c.name + ".bits"));
        ASSERT_TRUE(bits.good());
        check(c, data, bits);
      }
    }
  });
  set_thread_count(0);
}

TEST(GoldenBits, InitialMeansObjectiveAndKsvdMeansMatchTheReference) {
  for_every_case(check_ksvd);
}

TEST(GoldenBits, KmeansOnEveryBisectedClusterMatchesTheReference) {
  for_every_case(check_kmeans);
}

}  // namespace
