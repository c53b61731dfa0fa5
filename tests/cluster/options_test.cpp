// Command-line parsing of the clusterer: defaults, values, files, verbosity and every rejection.
#include "cluster/options.hpp"

#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/option_help.hpp"
#include "cluster/version.hpp"
#include "lib/diagnostics.hpp"
#include "lib/getoption.hpp"

namespace {

void parse(tOptions& options, std::vector<const char*> words) {
  words.insert(words.begin(), "clusterer");
  reset_getoption();
  options.parse_command_line(static_cast<int>(words.size()), words.data());
}

// The usage text as it always was, then the option list.
std::string usage_text() {
  std::ostringstream option_list;
  write_option_list(option_list);
  return std::string(version().c_str()) +
         "\nUsage: program [options]\nMain options:\nInput-output:\n"
         "\t-i name    - Read input from named file, not from stdin\n"
         "\t-o name    - Write output to named file, not to stdout\n"
         "Additional:\n"
         "\t--help     - Show this message and then quit\n" +
         option_list.str();
}

std::string temp_path(const std::string& name) {
  return testing::TempDir() + "options_" + name;
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

std::string first_word(std::istream& is) {
  std::string word;
  is >> word;
  return word;
}

// How many entries of directory start with prefix (temporaries left behind).
int files_in(const std::string& directory, const std::string& prefix) {
  int count = 0;
  DIR* dir = opendir(directory.c_str());
  while (const dirent* entry = dir ? readdir(dir) : nullptr)
    count += std::string(entry->d_name).rfind(prefix, 0) == 0;
  if (dir) closedir(dir);
  return count;
}

}  // namespace

TEST(Options, StartsAtTheDefaults) {
  tOptions options;
  EXPECT_EQ(options.verbosity, 0);
  EXPECT_EQ(options.input_name, "stdin");
  EXPECT_EQ(options.output_name, "stdout");
  EXPECT_EQ(options.num_clusters, 5);
  EXPECT_EQ(options.t1, 20);
  EXPECT_EQ(options.t2, 0.001);
  EXPECT_EQ(options.columns, 10);
  EXPECT_EQ(options.noise, 0.001);
  EXPECT_EQ(options.normalize + options.simulate + options.compare_function +
                options.random_cluster + options.permute + options.do_data +
                options.init_clusters_out,
            0);
  EXPECT_TRUE(options.init_clusters.empty());
  EXPECT_FALSE(options.seed_given);
  EXPECT_EQ(options.restarts, 1);
  EXPECT_EQ(options.threads, 0);
  EXPECT_EQ(options.scores, 0);
  EXPECT_EQ(options.table_stream, nullptr);
  EXPECT_EQ(&options.ins(), &std::cin);
  EXPECT_EQ(&options.ins2(), &std::cin);
  EXPECT_EQ(&options.outs(), &std::cout);
  EXPECT_EQ(&options.outs2(), &std::cout);
  EXPECT_EQ(&options.outs3(), &std::cout);
  EXPECT_EQ(options.outs_name(), "stdout");
  EXPECT_EQ(options.outs2_name(), "stdout");
  EXPECT_EQ(options.outs3_name(), "stdout");
}

TEST(Options, NoArgumentsPrintNothingAndSilenceProgress) {
  tOptions options;
  messages(true);
  testing::internal::CaptureStderr();
  parse(options, {});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(show_messages);
  EXPECT_EQ(options.verbosity, 0);
  EXPECT_EQ(options.num_clusters, 5);
}

TEST(Options, TakesEveryValueAndSwitch) {
  tOptions options;
  parse(options, {"-num_clusters", "3", "-t1", "7", "-t2", "0.5", "-noise", "0.25", "-columns", "4",
                  "-init_clusters", "start.txt", "-normalize", "-simulate", "-permute",
                  "-random_cluster", "-compare_function", "-do_data", "-init_clusters_out"});
  EXPECT_EQ(options.num_clusters, 3);
  EXPECT_EQ(options.t1, 7);
  EXPECT_EQ(options.t2, 0.5);
  EXPECT_EQ(options.noise, 0.25);
  EXPECT_EQ(options.columns, 4);
  EXPECT_EQ(options.init_clusters, "start.txt");
  EXPECT_EQ(options.normalize, 1);
  EXPECT_EQ(options.simulate, 1);
  EXPECT_EQ(options.permute, 1);
  EXPECT_EQ(options.random_cluster, 1);
  EXPECT_EQ(options.compare_function, 1);
  EXPECT_EQ(options.do_data, 1);
  EXPECT_EQ(options.init_clusters_out, 1);
}

TEST(Options, HighestVerbosityWinsAndSwitchesProgressOn) {
  tOptions options;
  messages(false);
  testing::internal::CaptureStderr();
  parse(options, {"-v4", "-v1"});
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(options.verbosity, 4);
  EXPECT_TRUE(show_messages);
}

TEST(Options, VerbosityOneWritesOnlyTheBanner) {
  tOptions options;
  testing::internal::CaptureStderr();
  parse(options, {"-v"});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "# " + std::string(version().c_str()) + "\n");
  EXPECT_EQ(options.verbosity, 1);
}

TEST(Options, VerbosityTwoAddsTheReport) {
  tOptions options;
  testing::internal::CaptureStderr();
  parse(options, {"-v2"});
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "# " + std::string(version().c_str()) + "\n# Input: stdin\n# Output: stdout\n");
}

TEST(Options, SecondInputNamesTheReportButEachStreamReadsItsFile) {
  const std::string a = temp_path("a.txt"), b = temp_path("b.txt");
  write_file(a, "from-a\n");
  write_file(b, "from-b\n");
  tOptions options;
  parse(options, {"-i", a.c_str(), "-i2", b.c_str()});
  EXPECT_EQ(options.input_name, b.c_str());
  EXPECT_EQ(first_word(options.ins()), "from-a");
  EXPECT_EQ(first_word(options.ins2()), "from-b");
}

TEST(Options, OutputFilesAreCreatedWithTheirOwnStreams) {
  const std::string o = temp_path("o.txt"), o2 = temp_path("o2.txt"), o3 = temp_path("o3.txt");
  write_file(o, "old content");
  {
    tOptions options;
    parse(options, {"-o", o.c_str(), "-o2", o2.c_str(), "-o3", o3.c_str()});
    EXPECT_EQ(options.output_name, o.c_str());
    EXPECT_EQ(options.outs_name(), o.c_str());
    EXPECT_EQ(options.outs2_name(), o2.c_str());
    EXPECT_EQ(options.outs3_name(), o3.c_str());
    options.outs() << "group";
    options.outs2() << "cluster";
    options.outs3() << "initial";
    std::ifstream before(o);
    EXPECT_EQ(first_word(before), "old");  // replaced only when committed
    options.out_stream->commit();
    options.out2_stream->commit();
    options.out3_stream->commit();
  }
  std::ifstream in_o(o), in_o2(o2), in_o3(o3);
  EXPECT_EQ(first_word(in_o), "group");
  EXPECT_EQ(first_word(in_o2), "cluster");
  EXPECT_EQ(first_word(in_o3), "initial");
}

TEST(Options, CreatedFilesAreReadableAndWritableByAllLessTheUmask) {
  const std::string o = temp_path("mode.txt");
  std::remove(o.c_str());
  const mode_t mask = umask(0);
  {
    tOptions options;
    parse(options, {"-o", o.c_str()});
    options.out_stream->commit();
  }
  umask(mask);
  struct stat info {};
  ASSERT_EQ(stat(o.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666u);
}

TEST(OptionsDeathTest, HelpPrintsTheUsageTextBeforeOpeningAnything) {
  const std::string o = temp_path("help_out.txt");
  std::remove(o.c_str());
  tOptions options;
  EXPECT_EXIT(parse(options, {"-o", o.c_str(), "--help", "-bogus"}), testing::ExitedWithCode(0),
              testing::Eq(usage_text()));
  std::ifstream created(o);
  EXPECT_FALSE(created.good());
}

TEST(OptionsDeathTest, UnknownArgumentsAreListedBeforeTheUsage) {
  tOptions options;
  EXPECT_EXIT(parse(options, {"-bogus", "-v", "extra"}), testing::ExitedWithCode(2),
              testing::Eq("Error: Unknown option(s):  -bogus extra\n" + usage_text()));
}

TEST(OptionsDeathTest, ValuesThatDoNotConvertAreUnknownArguments) {
  tOptions options;
  EXPECT_EXIT(parse(options, {"-num_clusters", "abc"}), testing::ExitedWithCode(2),
              testing::StartsWith("Error: Unknown option(s):  -num_clusters abc\n"));
  EXPECT_EXIT(parse(options, {"-num_clusters"}), testing::ExitedWithCode(2),
              testing::StartsWith("Error: Unknown option(s):  -num_clusters\n"));
}

TEST(OptionsDeathTest, RejectedCommandLinesLeaveEveryFileAsItWas) {
  const std::string o = temp_path("kept.txt"), table = temp_path("kept_table.txt");
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"-bogus"}, "Error: Unknown option(s):  -bogus\n"},
      {{"-seed", "12x"}, "Error: -seed \"12x\": the seed must be a whole number"},
      {{"-seed", "18446744073709551616"}, "Error: -seed \"18446744073709551616\": the seed"},
      {{"-seed", "-5"}, "Error: -seed \"\": the seed"},
      {{"-seed"}, "Error: Unknown option(s):  -seed\n"},
      {{"-restarts", "0"}, "Error: -restarts 0: at least one start is needed\n"},
      {{"-restarts", "1", "-init_clusters", "start.txt"},
       "Error: -restarts: a run from -init_clusters has exactly one start\n"},
      {{"-threads", "-1"}, "Error: -threads -1: the number of threads may not be negative"},
  };
  for (const auto& [words, report] : cases) {
    write_file(o, "old content");
    write_file(table, "old table");
    std::vector<const char*> all = {"-o", o.c_str(), "-table", table.c_str()};
    all.insert(all.end(), words.begin(), words.end());
    tOptions options;
    EXPECT_EXIT(parse(options, all), testing::ExitedWithCode(2),
                testing::AllOf(testing::StartsWith(report), testing::EndsWith(usage_text())))
        << report;
    std::ifstream kept(o), kept_table(table);
    EXPECT_EQ(first_word(kept), "old") << report;
    EXPECT_EQ(first_word(kept_table), "old") << report;
  }
}

TEST(Options, TakesTheRunOptions) {
  tOptions options;
  parse(options, {"-seed", "18446744073709551615", "-restarts", "3", "-scores", "-threads", "2"});
  EXPECT_TRUE(options.seed_given);
  EXPECT_EQ(options.seed, 18446744073709551615ULL);
  EXPECT_EQ(options.restarts, 3);
  EXPECT_EQ(options.threads, 2);
  EXPECT_EQ(options.scores, 1);
}

TEST(OptionsDeathTest, EarlyEndsLeaveOutputFilesAsTheyWereAndCreateNone) {
  const std::string o = temp_path("left_alone.txt"), o2 = temp_path("never_made.txt");
  write_file(o, "old content");
  std::remove(o2.c_str());
  tOptions options;
  EXPECT_EXIT(parse(options, {"-o", o.c_str(), "-o2", o2.c_str(), "-bogus"}),
              testing::ExitedWithCode(2),
              testing::StartsWith("Error: Unknown option(s):  -bogus\n"));
  EXPECT_EXIT(parse(options, {"-o", o.c_str(), "-o2", o2.c_str(), "-t1", "-1"}),
              testing::ExitedWithCode(1), testing::HasSubstr("-t1 -1"));
  std::ifstream left(o), made(o2);
  EXPECT_EQ(first_word(left), "old");
  EXPECT_FALSE(made.good());
  EXPECT_EQ(files_in(testing::TempDir(), "options_left_alone.txt."), 0);
}

TEST(OptionsDeathTest, FilesThatDoNotOpenEndTheRun) {
  const std::string missing = temp_path("missing.txt");
  std::remove(missing.c_str());
  tOptions options;
  EXPECT_EXIT(parse(options, {"-i", missing.c_str()}), testing::ExitedWithCode(1),
              testing::Eq("\nError: Can't open file to read: " + missing + "\n"));
  EXPECT_EXIT(parse(options, {"-i2", missing.c_str()}), testing::ExitedWithCode(1),
              testing::Eq("\nError: Can't open file to read: " + missing + "\n"));
  const std::string unwritable = temp_path("no_such_dir/out.txt");
  for (const char* option : {"-o", "-o2", "-o3"})
    EXPECT_EXIT(parse(options, {option, unwritable.c_str()}), testing::ExitedWithCode(1),
                testing::Eq("\nError: Can't open file to write: " + unwritable + "\n"))
        << option;
}

TEST(OptionsDeathTest, ValuesWithoutMeaningAreRejectedNamingTheOption) {
  tOptions options;
  const auto rejected = [&](std::vector<const char*> words, const std::string& text) {
    EXPECT_EXIT(parse(options, words), testing::ExitedWithCode(1),
                testing::Eq("\nUsage: " + text + "\n"))
        << text;
  };
  rejected({"-num_clusters", "0"}, "-num_clusters 0: the number of clusters must be at least 1");
  rejected({"-num_clusters", "-3"}, "-num_clusters -3: the number of clusters must be at least 1");
  rejected({"-num_clusters", "1000001"},
           "-num_clusters 1000001: at most 1000000 clusters are "
           "supported");
  rejected({"-t1", "-1"}, "-t1 -1: the number of iteration steps may not be negative");
  rejected({"-t2", "0"}, "-t2 0: the tolerance must be above 0");
  rejected({"-t2", "-0.5"}, "-t2 -0.5: the tolerance must be above 0");
  rejected({"-t2", "nan"}, "-t2 nan: the tolerance must be above 0");
  rejected({"-columns", "-2"}, "-columns -2: the number of columns may not be negative");
  rejected({"-noise", "inf"}, "-noise inf: the noise must be a finite number");
  rejected({"-noise", "nan"}, "-noise nan: the noise must be a finite number");
  rejected({"-simulate", "-num_clusters", "700"},
           "-num_clusters 700: -simulate makes 10 rows per cluster and at most 6999 rows are "
           "supported, so at most 699 clusters");
  rejected({"-format", "xlsx"},
           "-format xlsx: the formats are auto, matrix, tsv, csv, gct and pcl");
  rejected({"-missing", "mean"}, "-missing mean: the choices are zero, rowmean and drop");
  rejected({"-top", "0"}, "-top 0: between 1 and 6999 rows can be kept");
  rejected({"-top", "7000"}, "-top 7000: between 1 and 6999 rows can be kept");
  rejected({"-center", "-zscore"}, "-center and -zscore: give one of them (-zscore centres too)");
}

TEST(Options, BoundaryValuesAreAccepted) {
  tOptions options;
  parse(options, {"-simulate", "-num_clusters", "699", "-t1", "0", "-columns", "0", "-t2", "1e-300",
                  "-noise", "-2"});
  EXPECT_EQ(options.num_clusters, 699);
  EXPECT_EQ(options.t1, 0);
  EXPECT_EQ(options.columns, 0);
  EXPECT_EQ(options.noise, -2);
}

TEST(OptionsDeathTest, OutputsNamingAnInputOrEachOtherEndTheRunBeforeAnyFileIsTouched) {
  const std::string data = temp_path("guarded_data.txt"), x = temp_path("guarded_x.txt");
  write_file(data, "2 2\n1 2\n3 4\n");
  std::remove(x.c_str());
  struct tCase {
    std::vector<const char*> words;
    std::string message;
  };
  const tCase cases[] = {
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
  for (const tCase& c : cases) {
    tOptions options;
    EXPECT_EXIT(parse(options, c.words), testing::ExitedWithCode(2),
                testing::Eq("\nUsage: " + c.message + "\n"))
        << c.message;
  }
  std::ifstream kept(data), made(x);
  EXPECT_EQ(first_word(kept), "2");
  EXPECT_FALSE(made.good());
}
