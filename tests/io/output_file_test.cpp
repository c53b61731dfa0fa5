// Output files: replaced whole on commit, untouched otherwise, devices written directly.
#include "io/output_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string path_of(const std::string& name) {
  return testing::TempDir() + "output_file_" + name;
}

std::string content(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "(none)";
}

}  // namespace

TEST(OutputFile, TheNamedFileChangesOnlyOnCommit) {
  struct tCase {
    const char* name;
    const char* before;  // nullptr: no file of that name
    bool commit;
    const char* after;
  };
  const tCase cases[] = {
      {"new_committed", nullptr, true, "text"},
      {"new_abandoned", nullptr, false, "(none)"},
      {"old_committed", "old", true, "text"},
      {"old_abandoned", "old", false, "old"},
  };
  for (const tCase& c : cases) {
    const std::string path = path_of(c.name);
    std::remove(path.c_str());
    if (c.before) std::ofstream(path) << c.before;
    {
      tOutputFile file(path.c_str());
      file.stream() << "text";
      EXPECT_EQ(content(path), c.before ? c.before : "(none)") << c.name;
      if (c.commit) file.commit();
    }
    EXPECT_EQ(content(path), c.after) << c.name;
  }
}

TEST(OutputFile, ALinkKeepsItsTargetWhichIsReplaced) {
  const std::string target = path_of("link_target"), link = path_of("link");
  std::ofstream(target) << "old";
  std::remove(link.c_str());
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  tOutputFile file(link.c_str());
  file.stream() << "new";
  file.commit();
  EXPECT_EQ(content(target), "new");
  char buffer[4096] = {};
  EXPECT_GT(readlink(link.c_str(), buffer, sizeof buffer - 1), 0);
}

TEST(OutputFileDeathTest, FaultsEndTheRunNamingTheFileAndLeaveNoTemporary) {
  EXPECT_EXIT(
      {
        tOutputFile full("/dev/full");
        full.stream() << std::string(1 << 16, 'x');
        full.commit();
      },
      testing::ExitedWithCode(1), testing::Eq("\nError: Can't write file: /dev/full\n"));
  const std::string kept = path_of("kept");
  std::ofstream(kept) << "old";
  EXPECT_EXIT(
      {
        tOutputFile file(kept.c_str());
        file.stream() << "new";
        std::exit(1);  // as bye() does, without unwinding
      },
      testing::ExitedWithCode(1), testing::_);
  EXPECT_EQ(content(kept), "old");
  const std::string unwritable = path_of("no_such_dir/x");
  EXPECT_EXIT(tOutputFile{unwritable.c_str()}, testing::ExitedWithCode(1),
              testing::Eq("\nError: Can't open file to write: " + unwritable + "\n"));
}
