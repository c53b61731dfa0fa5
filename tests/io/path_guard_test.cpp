// The path guard: an output that is an input or another output ends the run before any file is
// touched; standard streams, devices and distinct files pass.
#include "io/path_guard.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// A directory of the test's own with the files the cases name: data.csv (an input), other.csv,
// link.csv -> data.csv, hard.csv (a hard link of data.csv), dangling -> absent.txt.
std::string prepared_directory() {
  const std::string directory = testing::TempDir() + "path_guard";
  const std::string command = "rm -rf '" + directory + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(mkdir(directory.c_str(), 0777), 0);
  EXPECT_EQ(mkdir((directory + "/sub").c_str(), 0777), 0);
  std::ofstream(directory + "/data.csv") << "a,b\n";
  std::ofstream(directory + "/other.csv") << "a,b\n";
  EXPECT_EQ(symlink("data.csv", (directory + "/link.csv").c_str()), 0);
  EXPECT_EQ(link((directory + "/data.csv").c_str(), (directory + "/hard.csv").c_str()), 0);
  EXPECT_EQ(symlink("absent.txt", (directory + "/dangling").c_str()), 0);
  return directory;
}

tNamedFile in(const char* option, const std::string& path) {
  return {option, path, tFileUse::input};
}
tNamedFile out(const char* option, const std::string& path) {
  return {option, path, tFileUse::output};
}

}  // namespace

TEST(PathGuardDeathTest, AnOutputThatIsAnInputOrAnotherOutputEndsTheRun) {
  const std::string d = prepared_directory() + "/";
  struct tCase {
    const char* name;
    std::vector<tNamedFile> files;
    std::string message;  // empty: the files pass
  };
  const tCase cases[] = {
      {"same file",
       {in("-i", d + "data.csv"), out("-o", d + "data.csv")},
       "-o " + d + "data.csv is the input file of -i: an output may not replace an input"},
      {"output before the input",
       {out("-table", d + "data.csv"), in("-i", d + "data.csv")},
       "-table " + d + "data.csv is the input file of -i: an output may not replace an input"},
      {"symbolic link to the input",
       {in("-i", d + "data.csv"), out("-o2", d + "link.csv")},
       "-o2 " + d + "link.csv is the input file of -i: an output may not replace an input"},
      {"input through a link",
       {in("-i", d + "link.csv"), out("-o", d + "data.csv")},
       "-o " + d + "data.csv is the input file of -i: an output may not replace an input"},
      {"hard link",
       {in("-i", d + "data.csv"), out("-heatmap", d + "hard.csv")},
       "-heatmap " + d + "hard.csv is the input file of -i: an output may not replace an input"},
      {"two outputs one file",
       {out("-o", d + "x.txt"), out("-o2", d + "x.txt")},
       "-o " + d + "x.txt and -o2 " + d + "x.txt are one file: give each output a file of its own"},
      {"new file, one resolved path",
       {out("-o", d + "sub/../new.txt"), out("-report", d + "./new.txt")},
       "-o " + d + "sub/../new.txt and -report " + d +
           "./new.txt are one file: give each output a file of its own"},
      {"link to a file not yet there",
       {out("-o", d + "dangling"), out("-o3", d + "absent.txt")},
       "-o " + d + "dangling and -o3 " + d +
           "absent.txt are one file: give each output a file of its own"},
      {"distinct files",
       {in("-i", d + "data.csv"), out("-o", d + "other.csv"), out("-o2", d + "y")},
       ""},
      {"two inputs one file", {in("-i", d + "data.csv"), in("-i2", d + "link.csv")}, ""},
      {"standard streams", {in("-i", "-"), out("-o", "-"), out("-o2", "-"), out("-o3", "")}, ""},
      {"devices", {in("-i", "/dev/null"), out("-o", "/dev/null"), out("-o2", "/dev/null")}, ""},
  };
  for (const tCase& c : cases) {
    if (c.message.empty()) {
      guard_paths(c.files);  // returns
      continue;
    }
    EXPECT_EXIT(guard_paths(c.files), testing::ExitedWithCode(2),
                testing::Eq("\nUsage: " + c.message + "\n"))
        << c.name;
  }
}
