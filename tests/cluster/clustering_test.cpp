// The one-call clustering against the built program, and its fatal faults through a throwing hook.
#include "cluster/clustering.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/matrix_input.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"
#include "tests/support/process.hpp"

namespace {

// Rows of three loose directions with a little noise, every value written in full.
matrix test_rows(int rows, int cols) {
  matrix data(rows, cols);
  unsigned state = 12345;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      state = state * 1103515245u + 12345u;
      const double noise = static_cast<double>((state >> 8) % 2001) / 1000.0 - 1.0;
      data(r, c) = ((r % 3 == c % 3) ? 3.0 : -0.5) + noise;
    }
  return data;
}

// The matrix layout with the values in %.17g, so the program reads the same doubles.
std::string write_rows(const matrix& data, const std::string& path) {
  std::ofstream file(path);
  file << data.dim1() << ' ' << data.dim2() << '\n';
  char value[40];
  for (int r = 0; r < data.dim1(); ++r) {
    file << "row" << r;
    for (int c = 0; c < data.dim2(); ++c) {
      std::snprintf(value, sizeof value, " %.17g", data(r, c));
      file << value;
    }
    file << '\n';
  }
  return path;
}

// A label file: the count line, then one label per line.
std::vector<int> read_labels(const std::string& path) {
  std::ifstream file(path);
  int count = 0;
  file >> count;
  std::vector<int> labels(count);
  for (int& label : labels) file >> label;
  return labels;
}

std::string full(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

// The text from the first line that starts with prefix to the end (empty if none).
std::string from_line(const std::string& text, const std::string& prefix) {
  const std::size_t at = text.compare(0, prefix.size(), prefix) == 0 ? 0 : text.find('\n' + prefix);
  if (at == std::string::npos) return "";
  return text.substr(at == 0 ? 0 : at + 1);
}

// The lines of text that start with prefix.
std::string lines_with(const std::string& text, const std::string& prefix) {
  std::istringstream in(text);
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) kept += line + '\n';
  return kept;
}

class tRecordingObserver : public tClusteringObserver {
 public:
  std::ostringstream progress_text, notes_text;
  tNames row_names;
  std::vector<int> kept;
  int clustered_calls = 0;
  double objective_seen = 0;

  explicit tRecordingObserver(int rows) {
    for (int r = 0; r < rows; ++r) row_names.add_name(string(("row" + std::to_string(r)).c_str()));
  }
  std::ostream* progress() override { return &progress_text; }
  int verbosity() const override { return 1; }
  const tNames* names() const override { return &row_names; }
  std::ostream* notes() override { return &notes_text; }
  void kept_start(const array<int>& assignment) override {
    kept.assign(assignment.begin(), assignment.end());
  }
  void clustered(const tClusteringResult& so_far) override {
    ++clustered_calls;
    objective_seen = so_far.objective;
  }
};

struct tProgramCase {
  unsigned long long seed;
  int restarts;
  int threads;
  int k;
};

TEST(ClusterRows, EqualsTheProgramBitForBit) {
  const matrix data = test_rows(40, 7);
  const std::string input = write_rows(data, scratch("rows.txt"));
  const tProgramCase cases[] = {
      {1, 1, 1, 3}, {42, 1, 2, 4}, {7, 4, 1, 3}, {7, 4, 2, 3}, {99, 5, 3, 5}, {3, 3, 2, 1},
  };
  for (const tProgramCase& c : cases) {
    SCOPED_TRACE("seed " + std::to_string(c.seed) + ", restarts " + std::to_string(c.restarts) +
                 ", threads " + std::to_string(c.threads) + ", k " + std::to_string(c.k));
    const std::string groups_file = scratch("groups"), labels_file = scratch("labels");
    const tRun run = run_program(
        CLUSTERER_PATH,
        {"-i", input, "-o", groups_file, "-o2", labels_file, "-seed", std::to_string(c.seed),
         "-restarts", std::to_string(c.restarts), "-threads", std::to_string(c.threads),
         "-num_clusters", std::to_string(c.k), "-scores", "-v1"});
    ASSERT_EQ(run.status, 0) << run.err;

    tClusteringSettings settings;
    settings.num_clusters = c.k;
    settings.seed = c.seed;
    settings.restarts = c.restarts;
    tRecordingObserver observer(data.dim1());
    set_thread_count(c.threads);
    const tClusteringResult result = cluster_rows(data, settings, observer);
    set_thread_count(0);

    EXPECT_EQ(result.labels, read_labels(labels_file));
    EXPECT_EQ(result.groups, read_labels(groups_file));
    std::ostringstream scores;
    scores << "S_ave = " << result.scores.s_ave << "\nS_max = " << result.scores.s_max
           << "\nH_ave = " << result.scores.h_ave << "\nH_min = " << result.scores.h_min << '\n';
    EXPECT_NE(run.out.find("objective = " + full(result.objective) + '\n'), std::string::npos);
    EXPECT_NE(run.out.find(scores.str()), std::string::npos);
    // What the observer sees is what the program prints: the bisection report on standard
    // output, the "# start" lines on standard error.
    EXPECT_NE(observer.progress_text.str(), "");
    EXPECT_EQ(observer.progress_text.str(), from_line(run.out, "# BEGIN DIAM"));
    EXPECT_EQ(observer.notes_text.str(), lines_with(run.err, "# start"));
    EXPECT_EQ(observer.clustered_calls, 1);
    EXPECT_EQ(observer.objective_seen, result.objective);
    EXPECT_EQ(observer.kept,
              std::vector<int>(result.initial_assignment.begin(), result.initial_assignment.end()));
    EXPECT_EQ(result.start_objectives.size(), static_cast<std::size_t>(c.restarts));
    EXPECT_EQ(result.start_objectives[result.winner], result.objective);
    ASSERT_FALSE(result.pass_objectives.empty());
    EXPECT_EQ(result.pass_objectives.back(), result.objective);
    EXPECT_EQ(result.seed, c.seed);
  }
}

TEST(ClusterRows, NormalizesACopyAndLeavesTheInput) {
  const matrix data = test_rows(30, 5);
  matrix normalized = data;
  normalize_rows(normalized);
  tClusteringSettings settings;
  settings.num_clusters = 3;
  settings.seed = 11;
  tClusteringObserver quiet;
  tClusteringResult plain = cluster_rows(normalized, settings, quiet);
  settings.normalize = true;
  const matrix before = data;
  tClusteringResult scaled = cluster_rows(data, settings, quiet);
  EXPECT_EQ(scaled.labels, plain.labels);
  EXPECT_EQ(scaled.groups, plain.groups);
  EXPECT_EQ(full(scaled.objective), full(plain.objective));
  for (int r = 0; r < data.dim1(); ++r)
    for (int c = 0; c < data.dim2(); ++c) ASSERT_EQ(full(data(r, c)), full(before(r, c)));
}

struct tFatalStatus {
  int status;
};

[[noreturn]] void throw_status(int status) {
  throw tFatalStatus{status};
}

TEST(ClusterRows, FatalFaultsReachTheCallerAndLeaveNothingBehind) {
  const matrix data = test_rows(12, 4);
  struct tBadCase {
    const char* what;
    int k, t1, restarts;
    std::vector<int> labels;
  };
  const std::vector<int> fits = {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2};
  std::vector<int> too_high = fits, negative = fits;
  too_high[5] = 3;
  negative[11] = -1;
  const tBadCase cases[] = {
      {"no cluster", 0, 20, 1, {}},
      {"negative t1", 3, -1, 1, {}},
      {"no start", 3, 20, 0, {}},
      {"a label short", 3, 20, 1, std::vector<int>(fits.begin(), fits.end() - 1)},
      {"a label too high", 3, 20, 1, too_high},
      {"a negative label", 3, 20, 1, negative},
  };
  tClusteringSettings good;
  good.num_clusters = 3;
  good.seed = 5;
  good.restarts = 3;
  tClusteringObserver quiet;
  set_thread_count(2);
  const tClusteringResult before = cluster_rows(data, good, quiet);
  set_fatal_exit(throw_status);
  for (const tBadCase& c : cases) {
    SCOPED_TRACE(c.what);
    tClusteringSettings bad;
    bad.num_clusters = c.k;
    bad.t1 = c.t1;
    bad.restarts = c.restarts;
    bad.initial_assignment = c.labels;
    int status = 0;
    try {
      cluster_rows(data, bad, quiet);
    } catch (const tFatalStatus& fatal) {
      status = fatal.status;
    }
    EXPECT_EQ(status, 1);
    // The next clustering runs as if nothing had happened.
    const tClusteringResult after = cluster_rows(data, good, quiet);
    EXPECT_EQ(after.labels, before.labels);
    EXPECT_EQ(full(after.objective), full(before.objective));
  }
  set_fatal_exit(nullptr);
  set_thread_count(0);
  tClusteringSettings given = good;
  given.initial_assignment = fits;
  given.restarts = 1;
  EXPECT_EQ(cluster_rows(data, given, quiet).initial_assignment.size(), 12);
}

}  // namespace
