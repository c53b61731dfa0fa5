// The clusterer's command line: what every option sets, every refusal, and the help.
#include "cluster/options.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/version.hpp"

namespace {

tRunOptions parse(std::vector<const char*> words) {
  words.insert(words.begin(), "clusterer");
  return parse_command_line(static_cast<int>(words.size()), words.data());
}

std::string help_text() {
  std::ostringstream text;
  write_help(text);
  return text.str();
}

std::string temp_path(const std::string& name) {
  return testing::TempDir() + "options_" + name;
}

}  // namespace

TEST(Options, DefaultsStandWhenNothingIsGiven) {
  const tRunOptions o = parse({});
  EXPECT_FALSE(o.input || o.input2 || o.init_clusters || o.seed);
  EXPECT_FALSE(o.outputs.groups || o.outputs.clusters || o.outputs.starts || o.outputs.table ||
               o.outputs.heatmap || o.outputs.report);
  EXPECT_EQ(o.clustering.num_clusters, 5);
  EXPECT_EQ(o.clustering.t1, 20);
  EXPECT_EQ(o.clustering.t2, 0.001);
  EXPECT_EQ(o.clustering.restarts, 1);
  EXPECT_FALSE(o.clustering.normalize);
  EXPECT_EQ(o.reading.format, tTableFormat::automatic);
  EXPECT_EQ(o.reading.missing, tMissingPolicy::zero);
  EXPECT_EQ(o.reading.top, 0);
  EXPECT_EQ(o.simulation.columns, 10);
  EXPECT_EQ(o.simulation.noise, 0.001);
  EXPECT_EQ(o.threads, 0);
  EXPECT_EQ(o.reports.verbosity, 0);
  EXPECT_EQ(input_label(o), "stdin");
}

TEST(Options, EveryOptionSetsItsField) {
  using tCheck = std::function<bool(const tRunOptions&)>;
  const struct {
    std::vector<const char*> words;
    tCheck holds;
  } cases[] = {
      {{"-i", "a.txt"}, [](const tRunOptions& o) { return input_label(o) == "a.txt"; }},
      {{"-i", "-"},
       [](const tRunOptions& o) { return *o.input == "-" && input_label(o) == "stdin"; }},
      {{"-i", "a", "-i2", "b"}, [](const tRunOptions& o) { return input_label(o) == "b"; }},
      {{"-o", "g", "-o2", "c", "-o3", "s", "-table", "t", "-heatmap", "h", "-report", "r"},
       [](const tRunOptions& o) {
         const tOutputNames& n = o.outputs;
         return *n.groups == "g" && *n.clusters == "c" && *n.starts == "s" && *n.table == "t" &&
                *n.heatmap == "h" && *n.report == "r";
       }},
      {{"-init_clusters", "start.txt", "-init_clusters_out"},
       [](const tRunOptions& o) {
         return *o.init_clusters == "start.txt" && o.reports.write_start;
       }},
      {{"-format", "csv"},
       [](const tRunOptions& o) { return o.reading.format == tTableFormat::csv; }},
      {{"-missing", "drop", "-log2", "-top", "6999"},
       [](const tRunOptions& o) {
         return o.reading.missing == tMissingPolicy::drop && o.reading.log2 &&
                o.reading.top == 6999;
       }},
      {{"-center"}, [](const tRunOptions& o) { return o.reading.center && !o.reading.zscore; }},
      {{"-zscore"}, [](const tRunOptions& o) { return o.reading.zscore && !o.reading.center; }},
      {{"-num_clusters", "1000000", "-t1", "0", "-t2", "1e-300", "-normalize"},
       [](const tRunOptions& o) {
         return o.clustering.num_clusters == 1000000 && o.clustering.t1 == 0 &&
                o.clustering.t2 == 1e-300 && o.clustering.normalize;
       }},
      {{"-seed", "18446744073709551615", "-restarts", "3", "-threads", "2", "-scores"},
       [](const tRunOptions& o) {
         return *o.seed == 18446744073709551615ULL && o.clustering.restarts == 3 &&
                o.threads == 2 && o.reports.scores;
       }},
      {{"-seed", "0"}, [](const tRunOptions& o) { return o.seed && *o.seed == 0; }},
      {{"-simulate", "-num_clusters", "699", "-columns", "0", "-noise", "-2", "-permute",
        "-random_cluster"},
       [](const tRunOptions& o) {
         const tSimulationSettings& s = o.simulation;
         return s.simulate && o.clustering.num_clusters == 699 && s.columns == 0 && s.noise == -2 &&
                s.permute && s.random_cluster;
       }},
      {{"-v4", "-v1"},
       [](const tRunOptions& o) { return o.reports.verbosity == 4 && o.reading.verbosity == 4; }},
      {{"-v"}, [](const tRunOptions& o) { return o.reports.verbosity == 1; }},
      {{"-compare_function", "-do_data"},
       [](const tRunOptions& o) { return o.reports.verbosity == 0; }},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const char* word : c.words) line += std::string(word) + " ";
    EXPECT_TRUE(c.holds(parse(c.words))) << line;
  }
}

TEST(OptionsDeathTest, CommandLinesThatCannotRunEndWithStatusTwoAndOneLine) {
  const struct {
    std::vector<const char*> words;
    const char* report;
  } cases[] = {
      {{"-bogus"}, "-bogus: not an option of this program"},
      {{"extra"}, "extra: a word without an option (values follow their option)"},
      {{"-num_clusters"}, "-num_clusters: expects a whole number from 1 to 1000000 after it"},
      {{"-num_clusters", "2.5"}, "-num_clusters 2.5: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", "abc"}, "-num_clusters abc: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", "0"}, "-num_clusters 0: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", "1000001"},
       "-num_clusters 1000001: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", "99999999999999999999"},
       "-num_clusters 99999999999999999999: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", " 3"}, "-num_clusters  3: expects a whole number from 1 to 1000000"},
      {{"-t1", "-1"}, "-t1 -1: expects a whole number from 0 up"},
      {{"-t2", "-1"}, "-t2 -1: expects a finite number above 0"},
      {{"-t2", "0"}, "-t2 0: expects a finite number above 0"},
      {{"-t2", "nan"}, "-t2 nan: expects a finite number above 0"},
      {{"-t2", "0.5x"}, "-t2 0.5x: expects a finite number above 0"},
      {{"-noise", "inf"}, "-noise inf: expects a finite number"},
      {{"-columns", "-2"}, "-columns -2: expects a whole number from 0 up"},
      {{"-top", "0"}, "-top 0: expects a whole number from 1 to 6999"},
      {{"-top", "7000"}, "-top 7000: expects a whole number from 1 to 6999"},
      {{"-restarts", "0"}, "-restarts 0: expects a whole number from 1 to 1000000"},
      {{"-threads", "-1"}, "-threads -1: expects a whole number from 0 up"},
      {{"-seed", "12x"}, "-seed 12x: expects a whole number from 0 to 18446744073709551615"},
      {{"-seed", "-5"}, "-seed -5: expects a whole number from 0 to 18446744073709551615"},
      {{"-seed", "18446744073709551616"},
       "-seed 18446744073709551616: expects a whole number from 0 to 18446744073709551615"},
      {{"-format", "xlsx"},
       "-format xlsx: expects one of auto, matrix, tsv, csv, ssv, csv2, gct, pcl"},
      {{"-format", "cs"}, "-format cs: expects one of auto, matrix, tsv, csv, ssv, csv2, gct, pcl"},
      {{"-missing", "mean"}, "-missing mean: expects one of zero, rowmean, drop"},
      {{"-i", ""}, "-i : expects a file name"},
      {{"-o", "a", "-o", "b"}, "-o: given more than once"},
      {{"-center", "-zscore"}, "-center and -zscore: give one of them (-zscore centres too)"},
      {{"-restarts", "1", "-init_clusters", "start.txt"},
       "-restarts and -init_clusters: a run from -init_clusters has exactly one start"},
      {{"-simulate", "-num_clusters", "700"},
       "-num_clusters 700: with -simulate expects a whole number from 1 to 699 (10 rows per "
       "cluster, at most 6999 rows)"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(parse(c.words), testing::ExitedWithCode(2),
                testing::Eq(std::string("\nUsage: ") + c.report + " (see --help)\n"))
        << c.report;
}

TEST(OptionsDeathTest, OutputsNamingAnInputOrEachOtherEndTheRunBeforeAnyFileIsTouched) {
  const std::string data = temp_path("guarded_data.txt"), x = temp_path("guarded_x.txt");
  std::ofstream(data) << "2 2\n1 2\n3 4\n";
  std::remove(x.c_str());
  const struct {
    std::vector<const char*> words;
    std::string message;
  } cases[] = {
      {{"-i", data.c_str(), "-o", data.c_str()},
       "-o " + data + " is the input file of -i: an output may not replace an input"},
      {{"-init_clusters", data.c_str(), "-o2", data.c_str()},
       "-o2 " + data + " is the input file of -init_clusters: an output may not replace an input"},
      {{"-i2", data.c_str(), "-table", data.c_str()},
       "-table " + data + " is the input file of -i2: an output may not replace an input"},
      {{"-o", x.c_str(), "-o3", x.c_str()},
       "-o " + x + " and -o3 " + x + " are one file: give each output a file of its own"},
      {{"-heatmap", x.c_str(), "-report", x.c_str()},
       "-heatmap " + x + " and -report " + x + " are one file: give each output a file of its own"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(parse(c.words), testing::ExitedWithCode(2),
                testing::Eq("\nUsage: " + c.message + "\n"))
        << c.message;
  EXPECT_EQ(std::ifstream(data).get(), '2');
  EXPECT_FALSE(std::ifstream(x).good());
}

TEST(OptionsDeathTest, HelpComesFirstWhateverElseIsGiven) {
  for (const char* help : {"-h", "-help", "--help"})
    EXPECT_EXIT(parse({"-o", "x", "-bogus", help}), testing::ExitedWithCode(0),
                testing::Eq(help_text()))
        << help;
}

TEST(Options, HelpDescribesTheProgramThenListsEveryOptionOnce) {
  const std::string help = help_text();
  EXPECT_EQ(help.rfind(std::string(version().c_str()) + "\nUsage: clusterer [options]\n", 0), 0u);
  for (const char* option : {"-i",
                             "-i2",
                             "-o",
                             "-o2",
                             "-o3",
                             "-init_clusters",
                             "-init_clusters_out",
                             "-table",
                             "-format",
                             "-missing",
                             "-log2",
                             "-top",
                             "-center",
                             "-zscore",
                             "-num_clusters",
                             "-normalize",
                             "-t1",
                             "-t2",
                             "-seed",
                             "-restarts",
                             "-threads",
                             "-simulate",
                             "-columns",
                             "-noise",
                             "-permute",
                             "-random_cluster",
                             "-scores",
                             "-heatmap",
                             "-report",
                             "-v,",
                             "-compare_function",
                             "-do_data",
                             "-h,"}) {
    std::istringstream lines(help);
    int listed = 0;
    for (std::string line; std::getline(lines, line);)
      listed += line.rfind("\t" + std::string(option) + " ", 0) == 0 && line.back() == ']';
    EXPECT_EQ(listed, 1) << option;
  }
}
