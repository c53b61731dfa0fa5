// Named inputs: refused with a message naming them, or read whole with gzip data inflated.
#include "io/input_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/io/gzip_text.hpp"

namespace {

std::string path_of(const std::string& name) {
  return testing::TempDir() + "input_file_" + name;
}

std::string write_file(const std::string& name, const std::string& bytes) {
  const std::string path = path_of(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace

TEST(InputFile, ReadsTheWholeTextPlainOrGzip) {
  struct tCase {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const tCase cases[] = {
      {"plain", "x\ny\n", "x\ny\n"},
      {"gzip", gzip_member("x\ny\n"), "x\ny\n"},
      {"gzip members", gzip_member("x\n") + gzip_member("y\n"), "x\ny\n"},
      {"gzip of nothing", gzip_member(""), ""},
  };
  for (const tCase& c : cases)
    EXPECT_EQ(read_whole_input(write_file(c.name, c.bytes).c_str()), c.text) << c.name;
  std::istringstream memory(gzip_member("in memory"));
  EXPECT_EQ(read_whole(memory, "memory"), "in memory");
}

// A seekable source is read from where it stands to its end, whatever its size says beforehand.
TEST(InputFile, ReadsASeekableSourceFromItsPosition) {
  const std::string long_text(200000, 'x');
  const struct {
    std::string bytes;
    std::streamoff skip;
    std::string text;
  } cases[] = {
      {"abcdef", 0, "abcdef"},
      {"abcdef", 3, "def"},
      {"ab", 1, "b"},
      {long_text + "y", 100000, long_text.substr(100000) + "y"},
      {"abc" + gzip_member("zipped"), 3, "zipped"},
  };
  for (const auto& c : cases) {
    std::istringstream memory(c.bytes);
    memory.seekg(c.skip);
    EXPECT_EQ(read_whole(memory, "memory"), c.text) << c.skip;
    std::ifstream file(write_file("seekable", c.bytes), std::ios::binary);
    file.seekg(c.skip);
    EXPECT_EQ(read_whole(file, "file"), c.text) << c.skip;
  }
}

TEST(InputFileDeathTest, InputsThatCannotBeReadEndTheRunNamingTheFile) {
  const std::string empty = write_file("empty", "");
  const std::string directory = path_of("directory");
  mkdir(directory.c_str(), 0777);
  const std::string absent = path_of("absent");
  std::remove(absent.c_str());
  struct tCase {
    const char* name;
    std::string path;
    tInputNeed need;
    std::string message;
  };
  const tCase cases[] = {
      {"empty", empty, tInputNeed::content, "Can't read " + empty + ": the file is empty"},
      {"directory", directory, tInputNeed::content,
       "Can't read " + directory + ": it is a directory, not a file"},
      {"directory, opened only", directory, tInputNeed::any,
       "Can't read " + directory + ": it is a directory, not a file"},
      {"absent", absent, tInputNeed::content, "Can't open file to read: " + absent},
      {"not a directory on the way", empty + "/x", tInputNeed::content,
       "Can't open file to read: " + empty + "/x (Not a directory)"},
  };
  for (const tCase& c : cases)
    EXPECT_EXIT(tInputFile(c.path.c_str(), c.need), testing::ExitedWithCode(1),
                testing::Eq("\nError: " + c.message + "\n"))
        << c.name;
}

TEST(InputFileDeathTest, AnUnreadableFileEndsTheRunWithTheSystemsReason) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::string locked = write_file("locked", "x\n");
  ASSERT_EQ(chmod(locked.c_str(), 0200), 0);
  EXPECT_EXIT(
      tInputFile{locked.c_str()}, testing::ExitedWithCode(1),
      testing::Eq("\nError: Can't open file to read: " + locked + " (Permission denied)\n"));
}

TEST(InputFile, AnEmptyFileMayBeOpenedWhenItIsNotRead) {
  tInputFile file(write_file("empty_opened", "").c_str(), tInputNeed::any);
  EXPECT_EQ(file.stream().get(), std::char_traits<char>::eof());
}

TEST(InputFile, ADashIsStandardInput) {
  tInputFile file("-");
  EXPECT_EQ(&file.stream(), &std::cin);
}
