// The run's files: each output its own stream, replaced only on commit, and files that do not open.
#include "cluster/run_files.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

std::string temp_path(const std::string& name) {
  return testing::TempDir() + "run_files_" + name;
}

std::string first_word(std::istream& is) {
  std::string word;
  is >> word;
  return word;
}

std::string first_word(const std::string& path) {
  std::ifstream file(path);
  return first_word(file);
}

}  // namespace

TEST(RunFiles, UnnamedFilesAreTheStandardStreams) {
  tRunOptions options;
  tRunFiles files(options);
  EXPECT_EQ(&files.input(), &std::cin);
  options.input = "-";
  tRunFiles dash(options);
  EXPECT_EQ(&dash.input(), &std::cin);
  EXPECT_EQ(&tRunFiles::stream_of(files.groups), &std::cout);
  EXPECT_EQ(tRunFiles::name_of(files.clusters), "stdout");
}

TEST(RunFiles, OutputsAreReplacedOnlyWhenCommitted) {
  const std::string in = temp_path("in.txt"), o = temp_path("o.txt"), o2 = temp_path("o2.txt");
  std::ofstream(in) << "from-in\n";
  std::ofstream(o) << "old content";
  std::remove(o2.c_str());
  tRunOptions options;
  options.input = in;
  options.outputs.groups = o;
  options.outputs.clusters = o2;
  {
    tRunFiles files(options);
    EXPECT_EQ(first_word(files.input()), "from-in");
    EXPECT_EQ(tRunFiles::name_of(files.groups), o);
    files.groups->stream() << "group";
    files.clusters->stream() << "cluster";
    EXPECT_EQ(first_word(o), "old");
    finish_output(files.groups);
    finish_output(files.clusters);
  }
  EXPECT_EQ(first_word(o), "group");
  EXPECT_EQ(first_word(o2), "cluster");
}

TEST(RunFilesDeathTest, FilesThatDoNotOpenEndTheRunNamingThem) {
  const std::string missing = temp_path("missing.txt"), unwritable = temp_path("no_dir/out.txt");
  std::remove(missing.c_str());
  const struct {
    std::optional<std::string> tRunOptions::*input;
    std::optional<std::string> tOutputNames::*output;
    std::string report;
  } cases[] = {
      {&tRunOptions::input, nullptr, "\nError: Can't open file to read: " + missing},
      {&tRunOptions::input2, nullptr, "\nError: Can't open file to read: " + missing},
      {nullptr, &tOutputNames::groups, "\nError: Can't open file to write: " + unwritable},
      {nullptr, &tOutputNames::starts, "\nError: Can't open file to write: " + unwritable},
      {nullptr, &tOutputNames::report, "\nError: Can't open file to write: " + unwritable},
  };
  for (const auto& c : cases) {
    tRunOptions options;
    if (c.input) options.*c.input = missing;
    if (c.output) options.outputs.*c.output = unwritable;
    EXPECT_EXIT(tRunFiles files(options), testing::ExitedWithCode(1),
                testing::StartsWith(c.report));
  }
}
