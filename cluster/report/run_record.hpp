// What the pictures show about a run beyond the clustering itself: settings, input and objectives.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The input as the run saw it; without column names the columns are labelled by number.
struct tInputRecord {
  std::string name = "stdin";
  std::string format = "matrix";
  std::vector<std::string> column_names;  // empty, or one per column
  long long rows_read = 0;
  long long rows_kept = 0;
  long long rows_dropped = 0;
  long long missing_values = 0;
};

struct tRunRecord {
  std::string command_line;
  std::optional<unsigned long long> seed;  // absent: the run was seeded from the clock
  tInputRecord input;
  int num_clusters = 0;
  int t1 = 0;
  double t2 = 0;
  bool normalized = false;
  double objective = 0;                    // of the kept start
  std::vector<double> pass_objectives;     // the objective after each k-svd pass, in order
  std::vector<double> restart_objectives;  // the final objective of each start, in order
};

// The arguments joined by spaces; an argument that the shell would split or expand is quoted.
std::string command_line_of(int argc, const char** argv);
