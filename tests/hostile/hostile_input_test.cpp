// Hostile inputs against the built clusterer: every run ends with status 0 and a result, status
// 1 and a clear message, or status 2 and the usage text for a command line it cannot run; never a
// signal, an assertion, a sanitizer report or the container error handler.
#include <glob.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.hpp"

namespace {

// A message quotes at most a short piece of what it complains about.
constexpr std::size_t max_message_length = 500;

std::string write_file(const std::string& name, const std::string& content) {
  const std::string path = scratch(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// Runs the clusterer with arguments, standard input from stdin_path and standard output to
// stdout_path (a scratch file when empty).
tRun run(const std::vector<std::string>& arguments, const std::string& stdin_path = "/dev/null",
         const std::string& stdout_path = "") {
  tRunSetup setup;
  setup.stdin_path = stdin_path;
  setup.stdout_path = stdout_path;
  return run_program(CLUSTERER_PATH, arguments, setup);
}

std::string last_line(const std::string& text) {
  if (text.empty() || text.back() != '\n') return "";
  const std::size_t start = text.rfind('\n', text.size() - 2);
  return text.substr(start == std::string::npos ? 0 : start + 1, text.size() - start - 2);
}

// No abnormal end: checked for every run, whatever its status.
testing::AssertionResult ended_soundly(const tRun& r) {
  if (r.timed_out) return testing::AssertionFailure() << "still running after the time limit";
  if (r.signal != 0) {
    return testing::AssertionFailure() << "ended by signal " << r.signal << "; stderr:\n"
                                       << r.err.substr(0, 2000);
  }
  for (const char* marker : {"VESTA ERROR HANDLER", "Assertion", "AddressSanitizer",
                             "LeakSanitizer", "runtime error:"}) {
    if (r.err.find(marker) != std::string::npos) {
      return testing::AssertionFailure() << "stderr holds \"" << marker << "\":\n"
                                         << r.err.substr(0, 2000);
    }
  }
  return testing::AssertionSuccess();
}

// Status 0 and the clustering's result line; its value a number (infinite only on overflow).
testing::AssertionResult gave_result(const tRun& r) {
  testing::AssertionResult sound = ended_soundly(r);
  if (!sound) return sound;
  if (r.status != 0) {
    return testing::AssertionFailure() << "status " << r.status << ", stderr:\n"
                                       << r.err.substr(0, 2000);
  }
  const std::string key = "Objective function = ";
  const std::size_t at = r.out.find(key);
  if (at == std::string::npos) return testing::AssertionFailure() << "no result line";
  const double objective = std::strtod(r.out.c_str() + at + key.size(), nullptr);
  if (std::isnan(objective)) return testing::AssertionFailure() << "the objective is not a number";
  return testing::AssertionSuccess();
}

// Status 1; stderr ends with one short report line of the diagnostics that holds expected.
testing::AssertionResult gave_message(const tRun& r, const std::string& expected) {
  testing::AssertionResult sound = ended_soundly(r);
  if (!sound) return sound;
  if (r.status != 1) {
    return testing::AssertionFailure() << "status " << r.status << " instead of 1; stderr:\n"
                                       << r.err.substr(0, 2000);
  }
  const std::string line = last_line(r.err);
  const bool reported = line.rfind("Error: ", 0) == 0 || line.rfind("Fatal Error: ", 0) == 0 ||
                        line.rfind("Usage: ", 0) == 0;
  if (!reported || r.err.size() < line.size() + 2 || r.err[r.err.size() - line.size() - 2] != '\n')
    return testing::AssertionFailure() << "stderr does not end with a report:\n"
                                       << r.err.substr(0, 2000);
  if (line.size() > max_message_length) {
    return testing::AssertionFailure()
           << "a report of " << line.size() << " characters: " << line.substr(0, 200) << "...";
  }
  if (line.find(expected) == std::string::npos)
    return testing::AssertionFailure()
           << "the report \"" << line << "\" lacks \"" << expected << "\"";
  return testing::AssertionSuccess();
}

// Either of the two sound ends.
testing::AssertionResult gave_result_or_message(const tRun& r) {
  return r.status == 0 ? gave_result(r) : gave_message(r, "");
}

// Status 2 with the usage text after a complaint about unknown arguments, and no run.
testing::AssertionResult rejected_arguments(const tRun& r) {
  testing::AssertionResult sound = ended_soundly(r);
  if (!sound) return sound;
  if (r.status != 2 || r.err.rfind("Error: Unknown option(s): ", 0) != 0 ||
      r.err.find("Usage: program [options]") == std::string::npos || !r.out.empty())
    return testing::AssertionFailure() << "status " << r.status << ", stderr:\n"
                                       << r.err.substr(0, 2000) << "stdout:\n"
                                       << r.out.substr(0, 2000);
  return testing::AssertionSuccess();
}

std::string random_bytes(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(generator() & 0xff);
  return bytes;
}

// rows x cols values from f(row, col), named r0, r1, ...
template <class F>
std::string matrix_text(int rows, int cols, F value) {
  std::ostringstream text;
  text << rows << ' ' << cols << '\n';
  for (int i = 0; i < rows; ++i) {
    text << 'r' << i;
    for (int j = 0; j < cols; ++j) text << ' ' << value(i, j);
    text << '\n';
  }
  return text.str();
}

std::string small_matrix() {
  return "4 2\na 1 2\nb 3 4\nc -1 0\nd 0 1\n";
}

}  // namespace

TEST(HostileInput, EmptyInputEndsWithAMessage) {
  EXPECT_TRUE(gave_message(run({}), "ends before the row count"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("empty", "")}), "_empty: the file is empty"));
  EXPECT_TRUE(
      gave_message(run({"-i", write_file("blank", " \n\t\n")}), "ends before the row count"));
  EXPECT_TRUE(gave_message(run({"-i", testing::TempDir()}), "it is a directory, not a file"));
}

TEST(HostileInput, TruncatedMatricesEndSoundly) {
  std::mt19937 generator(7);
  std::normal_distribution<double> normal;
  const std::string full = matrix_text(200, 12, [&](int, int) { return normal(generator); });
  for (std::size_t length : {1, 3, 4, 5, 9, 100, 1001, 5000}) {
    const tRun r = run({"-i", write_file("cut", full.substr(0, length))});
    EXPECT_TRUE(gave_result_or_message(r)) << "first " << length << " bytes";
  }
  EXPECT_TRUE(gave_message(run({"-i", write_file("cut", "5")}), "ends before the column count"));
  // Cut inside the values: the run ends naming the place, from a file or standard input alike.
  EXPECT_TRUE(gave_message(run({"-i", write_file("cut", full.substr(0, 3000))}),
                           "the text ends at row 26, column 6 of \"r26\", before its 200 x 12"));
  EXPECT_TRUE(gave_message(run({}, write_file("cut", full.substr(0, 3001))),
                           "the text ends at row 26, column 6"));
}

TEST(HostileInput, BinaryGarbageEndsSoundly) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const std::string garbage = random_bytes(100000, seed);
    EXPECT_TRUE(gave_result_or_message(run({"-i", write_file("garbage", garbage)}))) << seed;
    EXPECT_TRUE(gave_result_or_message(run({}, write_file("garbage", garbage)))) << seed;
    // After a sound header every value is garbage.
    EXPECT_TRUE(gave_result(run({"-i", write_file("garbage", "50 6\n" + garbage)}))) << seed;
  }
  const char with_nul[] = "3 2\na\0 1 2\nb 3 \0\nc";
  EXPECT_TRUE(
      gave_message(run({"-i", write_file("nul", std::string(with_nul, sizeof with_nul - 1))}),
                   "the text ends at row 2"));
}

TEST(HostileInput, HugeNegativeAndMalformedCountsEndWithAMessage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-5 3\n", "row count"},
      {"3 -2\n", "column count"},
      {"99999999999999999999999 3\n", "row count \"99999999999999999999999\" is too large"},
      {"6999 100000000000\n", "does not fit in memory"},
      {"3 99999999999999999999999\n", "column count \"99999999999999999999999\" is too large"},
      {"2.5 3\n", "row count"},
      {"3 1e3\n", "column count"},
      {"0x10 2\n", "row count"},
      {"+ 2\n", "row count"},
      {"three 2\n", "row count"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_TRUE(gave_message(run({"-i", write_file("counts", text)}), expected)) << text;
}

TEST(HostileInput, CountsLargerThanTheDataEndTheRunNamingThePlace) {
  EXPECT_TRUE(gave_message(run({"-i", write_file("short", "100 50\na 1 2\n")}),
                           "row 0, column 2 of \"a\", before its 100 x 50 values"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("short", "3 4\n")}), "row 0, before its name"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("short", "6999 40\nx 1\n"), "-num_clusters", "3"}),
                           "row 0"));
  EXPECT_TRUE(gave_result(run({"-i", write_file("none", "0 0\n")})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("none", "0 5\n")})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("none", "4 0\na b c d\n")})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("none", "-0 3\n")})));
}

TEST(HostileInput, SevenThousandRowsAreRefusedAndOneFewerClustered) {
  std::mt19937 generator(11);
  std::normal_distribution<double> normal;
  const auto value = [&](int, int) { return normal(generator); };
  EXPECT_TRUE(gave_result(run({"-i", write_file("m", matrix_text(6999, 3, value))})));
  EXPECT_TRUE(gave_message(run({"-i", write_file("m", matrix_text(7000, 3, value))}), "7000 rows"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("m", matrix_text(9000, 2, value))}), "9000 rows"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("m", matrix_text(9000, 2, value))}), "-top N"));
  EXPECT_TRUE(
      gave_result(run({"-i", write_file("m", matrix_text(9000, 2, value)), "-top", "500"})));
}

TEST(HostileInput, MegabyteTokensEndSoundly) {
  const std::string mega(4 << 20, '7');
  const std::string letters(4 << 20, 'x');
  // A name, a value that overflows, a value that underflows, trailing junk of a value.
  EXPECT_TRUE(gave_result(run({"-i", write_file("t", "2 2\n" + letters + " 1 2\nb 3 4\n")})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("t", "2 2\na " + mega + " 2\nb 3 4\n")})));
  EXPECT_TRUE(
      gave_result(run({"-i", write_file("t", "2 2\na 0." + mega + " 2\nb 3 1" + letters + "\n")})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("t", "2 2\na 1e-" + mega + " 2\nb 3 4\n")})));
  EXPECT_TRUE(
      gave_result(run({}, write_file("t", "2 2\n" + letters + " 1 2\n\n" + mega + " 4 5\n"))));
  // Counts of a megabyte: leading zeros, and a count that is not one.
  EXPECT_TRUE(
      gave_result(run({"-i", write_file("t", std::string(4 << 20, '0') + "2 1\na 1\nb 2\n")})));
  EXPECT_TRUE(gave_message(run({"-i", write_file("t", letters + " 2\n")}), "row count"));
  EXPECT_TRUE(gave_message(run({"-i", write_file("t", mega + " 2\n")}), "is too large"));
}

TEST(HostileInput, NonFiniteValuesEverywhereCountAsMissing) {
  const std::vector<std::string> values = {"NA",     "NaN",       "nan",      "-nan",  "NAN",
                                           "inf",    "-inf",      "Infinity", "1e999", "-1e999",
                                           "1e-999", "0x1p99999", "nan(123)", "na"};
  const auto token = [&](int i, int j) { return values[(i + j) % values.size()]; };
  const std::string text = matrix_text(40, static_cast<int>(values.size()), token);
  EXPECT_TRUE(gave_result(run({"-i", write_file("nf", text)})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("nf", text), "-normalize"})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("nf", text), "-normalize", "-permute"})));
  EXPECT_TRUE(gave_result(run({}, write_file("nf", text))));
  // Non-finite values among finite ones.
  const auto mixed = [&](int i, int j) {
    return (i + j) % 3 == 0 ? token(i, j) : std::to_string(i - j);
  };
  EXPECT_TRUE(gave_result(run({"-i", write_file("nf", matrix_text(40, 9, mixed)), "-normalize"})));
}

TEST(HostileInput, ZeroAndCentredRowsWithAndWithoutNormalizing) {
  const std::string zeros =
      write_file("zeros", matrix_text(30, 6, [](int i, int) { return i % 2 ? "0" : "-0"; }));
  std::mt19937 generator(5);
  std::uniform_real_distribution<double> uniform(-5, 5);
  std::vector<double> row(6);
  const std::string centred = write_file("centred", matrix_text(30, 6, [&](int, int j) {
                                           if (j == 0) {
                                             double sum = 0;
                                             for (int c = 0; c < 5; ++c)
                                               sum += row[c] = uniform(generator);
                                             row[5] = -sum;
                                           }
                                           return row[j];
                                         }));
  for (const std::string& file : {zeros, centred}) {
    for (const char* k : {"1", "3", "30"}) {
      EXPECT_TRUE(gave_result(run({"-i", file, "-num_clusters", k}))) << file << " k " << k;
      EXPECT_TRUE(gave_result(run({"-i", file, "-num_clusters", k, "-normalize"})))
          << file << " k " << k;
    }
  }
  // Rows whose length underflows to zero.
  EXPECT_TRUE(gave_result(
      run({"-i", write_file("tiny", "3 2\na 1e-320 0\nb 4e-324 0\nc 0 -1e-310\n"), "-normalize"})));
}

TEST(HostileInput, LargeMagnitudeValuesCluster) {
  // Values near 1e7 to 1e12 make the objectives' rounding worth far more than the algorithms'
  // 1e-7 slack; settled passes must end the run, not an assertion. Several fixed starts.
  std::mt19937 generator(11);
  std::normal_distribution<double> normal(0.0, 1.0);
  for (const double scale : {1e7, 1e12}) {
    const std::string file = write_file("large", matrix_text(600, 20, [&](int i, int) {
                                          return scale * (normal(generator) + (i % 3 ? 0.0 : 3.0));
                                        }));
    for (unsigned start = 0; start < 4; ++start) {
      std::mt19937 draw(start);
      std::string assignment = "600\n";
      for (int r = 0; r < 600; ++r) assignment += std::to_string(draw() % 6) + "\n";
      const std::string init = write_file("large_init", assignment);
      for (const char* t1 : {"3", "20"})
        EXPECT_TRUE(
            gave_result(run({"-i", file, "-num_clusters", "6", "-t1", t1, "-init_clusters", init})))
            << "scale " << scale << " start " << start << " -t1 " << t1;
    }
  }
}

TEST(HostileInput, MoreClustersThanRowsLeaveClustersEmpty) {
  const std::string labels = scratch("labels");
  const tRun r = run({"-i", write_file("m", small_matrix()), "-num_clusters", "50", "-o2", labels,
                      "-o", scratch("groups"), "-random_cluster"});
  ASSERT_TRUE(gave_result(r));
  std::istringstream file(slurp(labels));
  int rows = 0;
  file >> rows;
  EXPECT_EQ(rows, 4);
  for (int label; file >> label;) EXPECT_TRUE(label >= 0 && label < 50) << label;
  EXPECT_TRUE(
      gave_result(run({"-i", write_file("one", "1 1\na 5\n"), "-num_clusters", "1000000"})));
  EXPECT_TRUE(gave_result(run({"-i", write_file("none", "0 3\n"), "-num_clusters", "7"})));
}

TEST(HostileInput, BadInitialAssignmentFilesEndWithAMessageNamingThem) {
  const std::string matrix = write_file("m", small_matrix());
  const std::vector<std::pair<std::string, std::string>> files = {
      {"", "ends before the row count"},
      {"4\n0\n1\n", "row 2"},
      {"4\n0\nx\n1\n0\n", "row 1"},
      {"4\n0\n1\n2\n0\n", "row 2"},
      {"4\n0\n1\n-1\n0\n", "row 2"},
      {"4\n0\n1\n1.0\n0\n", "row 2"},
      {"4\n0 1 99999999999999999999999 0\n", "row 2"},
      {"x\n0\n1\n1\n0\n", "row count"},
      {random_bytes(1000, 3), "init"},
      {"4\n0\n" + std::string(4 << 20, 'x') + "\n1\n0\n", "row 1"},
  };
  for (const auto& [content, expected] : files) {
    const std::string start = write_file("init", content);
    const tRun r = run({"-i", matrix, "-num_clusters", "2", "-init_clusters", start});
    EXPECT_TRUE(gave_message(r, expected)) << content.substr(0, 40);
    EXPECT_TRUE(gave_message(r, start)) << "the report names the file";
  }
  const std::string missing = scratch("absent");
  EXPECT_TRUE(gave_message(run({"-i", matrix, "-init_clusters", missing}), missing));
  EXPECT_TRUE(gave_message(run({"-i", matrix, "-init_clusters", testing::TempDir()}), ""));
}

TEST(HostileInput, BadOptionValuesEndWithAUsageMessage) {
  const std::string matrix = write_file("m", small_matrix());
  const std::vector<std::vector<std::string>> cases = {
      {"-num_clusters", "0"},
      {"-t1", "-1"},
      {"-t2", "0"},
      {"-t2", "-1e-9"},
      {"-t2", "nan"},
      {"-columns", "-1"},
      {"-noise", "nan"},
      {"-noise", "inf"},
      {"-num_clusters", "-2147483648"},
      {"-num_clusters", "1000001"},
      {"-simulate", "-num_clusters", "700"},
      {"-simulate", "-columns", "2000000000", "-num_clusters", "699"},
  };
  for (std::vector<std::string> arguments : cases) {
    arguments.insert(arguments.begin(), {"-i", matrix});
    EXPECT_TRUE(gave_message(run(arguments), "")) << arguments[2] << ' ' << arguments[3];
  }
}

TEST(HostileInput, IntegerOptionValuesBeyondIntAreNotWrapped) {
  const std::string matrix = write_file("m", small_matrix());
  // 4294967297 wraps to 1 in a plain int conversion: the run must not go ahead with k = 1.
  for (const char* value : {"4294967297", "99999999999", "-4294967295"}) {
    const tRun r = run({"-i", matrix, "-num_clusters", value});
    EXPECT_TRUE(r.status == 1 ? gave_message(r, "") : rejected_arguments(r)) << value;
    EXPECT_EQ(r.out.find("Objective function"), std::string::npos) << value;
  }
}

TEST(HostileInput, ThousandsOfArgumentWordsEndSoundly) {
  const std::string matrix = write_file("m", small_matrix());
  for (std::size_t words : {999, 1000, 1001, 5000, 100000}) {
    std::vector<std::string> arguments{"-i", matrix};
    while (arguments.size() < words) arguments.push_back("-v");
    const tRun r = run(arguments);
    if (words <= 1000)
      EXPECT_TRUE(rejected_arguments(r)) << words;  // every -v after the first is unknown
    else
      EXPECT_TRUE(gave_message(r, "words")) << words;
  }
  std::vector<std::string> group{"-i", matrix, "-init_clusters", "["};
  for (int i = 0; i < 3000; ++i) group.push_back("w" + std::to_string(i));
  group.push_back("]");
  EXPECT_TRUE(gave_message(run(group), "words"));
}

TEST(HostileInput, UnclosedBracketGroupsEndWithAUsageMessage) {
  const std::string matrix = write_file("m", small_matrix());
  const std::vector<std::vector<std::string>> cases = {
      {"-init_clusters", "[", "a", "b"},
      {"["},
      {"-v", "["},
      {"[", "]", "["},
      {"-o", "[", scratch("out")},
      {"-num_clusters", "[", "3"},
  };
  for (std::vector<std::string> arguments : cases) {
    arguments.insert(arguments.begin(), {"-i", matrix});
    EXPECT_TRUE(gave_message(run(arguments), "never closed")) << arguments[2];
  }
  // A closing word alone is just an argument.
  EXPECT_TRUE(rejected_arguments(run({"-i", matrix, "-v", "]"})));
}

TEST(HostileInput, SimulationExtremesEndSoundly) {
  const std::vector<std::vector<std::string>> cases = {
      {"-simulate", "-columns", "0"},
      {"-simulate", "-num_clusters", "699", "-columns", "2"},
      {"-simulate", "-num_clusters", "1", "-columns", "1", "-permute", "-random_cluster"},
      {"-simulate", "-noise", "1e308", "-normalize"},
      {"-simulate", "-noise", "-5", "-t1", "0"},
      {"-simulate", "-num_clusters", "3", "-t2", "1e308"},
  };
  for (const std::vector<std::string>& arguments : cases)
    EXPECT_TRUE(gave_result(run(arguments))) << arguments[1];
}

TEST(HostileInput, OutputsThatCannotBeOpenedEndWithAMessageNamingThem) {
  const std::string matrix = write_file("m", small_matrix());
  const std::string directory = testing::TempDir();
  const std::string missing_directory = scratch("absent") + "/labels";
  for (const char* option : {"-o", "-o2", "-o3"}) {
    EXPECT_TRUE(gave_message(run({"-i", matrix, option, directory}), directory)) << option;
    EXPECT_TRUE(gave_message(run({"-i", matrix, option, missing_directory}), missing_directory))
        << option;
  }
}

TEST(HostileInput, OutputsThatCannotBeWrittenWholeEndWithAMessageNamingThem) {
  const std::string matrix = write_file("m", small_matrix());
  EXPECT_TRUE(gave_message(run({"-i", matrix, "-o", "/dev/full"}), "/dev/full"));
  EXPECT_TRUE(gave_message(run({"-i", matrix, "-o2", "/dev/full"}), "/dev/full"));
  EXPECT_TRUE(
      gave_message(run({"-i", matrix, "-o3", "/dev/full", "-init_clusters_out"}), "/dev/full"));
  // The reports on standard output, and the initial assignment written there.
  EXPECT_TRUE(gave_message(run({"-i", matrix}, "/dev/null", "/dev/full"), "stdout"));
  EXPECT_TRUE(gave_message(
      run({"-i", matrix, "-init_clusters_out", "-o2", scratch("labels")}, "/dev/null", "/dev/full"),
      "stdout"));
  EXPECT_TRUE(gave_message(run({"-simulate", "-v4"}, "/dev/null", "/dev/full"), "stdout"));
}

TEST(HostileInput, MalformedTablesEndWithOneReportAndLeaveOutputFilesAsTheyWere) {
  using namespace std::string_literals;  // texts with NUL bytes
  const struct {
    const char* name;
    std::string text;
    const char* expected;
  } cases[] = {
      {"ragged", "g\ta\tb\nr0\t1\t2\nr1\t3\n",
       "line 3: the row has 2 fields where the header calls for 3"},
      {"truncated", "3 2\na 1 2\nb 3 4\nc 5", "the text ends at row 2, column 1 of \"c\""},
      {"bad_gzip", "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xff\xff\xff"s,
       "gzip data are damaged"},
      {"cut_gzip", "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03"s, "the gzip data end early"},
      {"empty", "", "_empty: the file is empty"},
      {"header_only", "gene,a,b\n", "the text ends before the first data row"},
      {"stray_text", "gene,a,b\nr0,1,two\n", "column 3 (\"b\"): \"two\" is neither a number"},
  };
  const std::string o = write_file("o", "old o\n"), o2 = write_file("o2", "old o2\n");
  for (const auto& c : cases) {
    const tRun r =
        run({"-i", write_file(c.name, c.text), "-o", o, "-o2", o2, "-num_clusters", "2"});
    EXPECT_TRUE(gave_message(r, c.expected)) << c.name;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << c.name << ": " << r.err;
    EXPECT_EQ(slurp(o), "old o\n") << c.name;
    EXPECT_EQ(slurp(o2), "old o2\n") << c.name;
    glob_t left{};
    EXPECT_EQ(glob((o + ".*").c_str(), 0, nullptr, &left), GLOB_NOMATCH) << c.name;
    globfree(&left);
  }
}
