// The option table behind the help text: a new option is one more line here.
#include "cluster/option_help.hpp"

#include <cstring>
#include <ostream>
#include <string>

namespace {

struct tOptionLine {
  const char* group;
  const char* option;  // the option and its value, as typed
  const char* meaning;
  const char* fallback;  // the default, shown in brackets
};

// Grouped: lines of one group stand together, in the order they are listed.
const tOptionLine option_lines[] = {
    {"Input and output", "-i name", "read the expression matrix from this file", "stdin"},
    {"Input and output", "-i2 name", "second input file (named in the settings report)", "none"},
    {"Input and output", "-o name", "group label file (0 .. 2k-1 per row)", "not written"},
    {"Input and output", "-o2 name", "cluster label file (0 .. k-1 per row)", "not written"},
    {"Input and output", "-o3 name", "file of -init_clusters_out", "stdout"},
    {"Input and output", "-init_clusters name",
     "start from this label file (with or without the count line)", "random start"},
    {"Input and output", "-init_clusters_out", "write the initial cluster of every row", "off"},
    {"Input and output", "-table name",
     "results table: name, row, cluster, group, score, cosine (tab-separated)", "not written"},
    {"Input and output", "-format name",
     "auto, matrix, tsv, ssv, csv, csv2, gct or pcl (gzip is recognised)", "auto"},
    {"Preparation", "-missing name", "missing values: zero, rowmean or drop", "zero"},
    {"Preparation", "-log2", "replace every value x by log2(x + 1)", "off"},
    {"Preparation", "-top N", "keep the N rows of largest variance (1 .. 6999)", "every row"},
    {"Preparation", "-center", "subtract each row's mean", "off"},
    {"Preparation", "-zscore", "subtract each row's mean, divide by its standard deviation", "off"},
    {"Clustering", "-num_clusters k", "number of clusters", "5"},
    {"Clustering", "-normalize", "scale every row to length 1", "off"},
    {"Clustering", "-t1 n", "steps of the principal direction iteration", "20"},
    {"Clustering", "-t2 x", "stopping tolerance of both clustering loops", "0.001"},
    {"Clustering", "-seed N", "seed of every random draw (0 .. 2^64-1)", "clock and process id"},
    {"Clustering", "-restarts R", "random starts; the largest objective wins", "1"},
    {"Clustering", "-threads N", "threads of the clustering; 0 uses every core", "0"},
    {"Simulation and perturbation", "-simulate", "cluster simulated data (10 rows per cluster)",
     "off"},
    {"Simulation and perturbation", "-columns d", "columns of simulated data", "10"},
    {"Simulation and perturbation", "-noise x", "noise of simulated data", "0.001"},
    {"Simulation and perturbation", "-permute", "shuffle the entries of read data", "off"},
    {"Simulation and perturbation", "-random_cluster", "print a random grouping of the rows",
     "off"},
    {"Reports", "-scores", "print the objective, cluster shares and quality scores", "off"},
    {"Reports", "-heatmap name", "SVG heatmap of the clustered matrix", "not written"},
    {"Reports", "-report name", "self-contained HTML report of the run", "not written"},
    {"Reports", "-v, -v1 .. -v4", "verbosity: 1 reports, 2 settings, 4 progress", "0"},
    {"Reports", "-compare_function", "accepted, no effect", "off"},
    {"Reports", "-do_data", "accepted, no effect", "off"},
    {"Additional", "--help", "show this message and then quit", "-"},
};

}  // namespace

void write_option_list(std::ostream& os) {
  os << "Options:\n";
  const char* group = "";
  for (const tOptionLine& line : option_lines) {
    if (std::strcmp(group, line.group) != 0) os << line.group << ":\n";
    group = line.group;
    std::string option = line.option;
    if (option.size() < 20) option.resize(20, ' ');
    os << '\t' << option << " - " << line.meaning << " [" << line.fallback << "]\n";
  }
}
