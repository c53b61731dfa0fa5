// Output files: replaced whole on commit, untouched otherwise, devices written directly, modes
// kept, temporaries gone however the run ends.
#include "io/output_file.hpp"

#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// A directory of the test's own, so that leftover temporaries can be counted.
std::string fresh_directory(const std::string& name) {
  const std::string path = testing::TempDir() + "output_file_" + name;
  std::string command = "rm -rf '" + path + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(mkdir(path.c_str(), 0777), 0);
  return path;
}

std::string content(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "(none)";
}

int entries_in(const std::string& directory) {
  int count = 0;
  DIR* dir = opendir(directory.c_str());
  while (const dirent* entry = dir ? readdir(dir) : nullptr) count += entry->d_name[0] != '.';
  if (dir) closedir(dir);
  return count;
}

mode_t mode_of(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
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
    const std::string directory = fresh_directory(c.name);
    const std::string path = directory + "/out";
    if (c.before) std::ofstream(path) << c.before;
    {
      tOutputFile file(path.c_str());
      file.stream() << "text";
      EXPECT_EQ(content(path), c.before ? c.before : "(none)") << c.name;
      if (c.commit) file.commit();
    }
    EXPECT_EQ(content(path), c.after) << c.name;
    EXPECT_EQ(entries_in(directory), c.before || c.commit ? 1 : 0) << c.name;
  }
}

TEST(OutputFile, ALinkKeepsPointingAtItsTargetWhichIsReplaced) {
  struct tCase {
    const char* name;
    const char* target_before;  // nullptr: the link points at a file not yet there
  };
  const tCase cases[] = {{"existing_target", "old"}, {"absent_target", nullptr}};
  for (const tCase& c : cases) {
    const std::string directory = fresh_directory(c.name);
    const std::string target = directory + "/target", link = directory + "/link";
    if (c.target_before) std::ofstream(target) << c.target_before;
    ASSERT_EQ(symlink("target", link.c_str()), 0);
    tOutputFile file(link.c_str());
    file.stream() << "new";
    file.commit();
    EXPECT_EQ(content(target), "new") << c.name;
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << c.name;
    EXPECT_EQ(entries_in(directory), 2) << c.name;
  }
}

TEST(OutputFile, ANewFileGetsReadWriteLessTheUmaskAReplacedOneKeepsItsMode) {
  struct tCase {
    const char* name;
    mode_t umask_value;
    int before;  // the mode of the file replaced, -1: no file
    mode_t after;
  };
  const tCase cases[] = {
      {"new_umask_0", 0, -1, 0666},     {"new_umask_022", 022, -1, 0644},
      {"new_umask_077", 077, -1, 0600}, {"kept_0600", 022, 0600, 0600},
      {"kept_0640", 0, 0640, 0640},     {"kept_0755", 077, 0755, 0755},
  };
  for (const tCase& c : cases) {
    const std::string path = fresh_directory(c.name) + "/out";
    if (c.before >= 0) {
      std::ofstream(path) << "old";
      ASSERT_EQ(chmod(path.c_str(), static_cast<mode_t>(c.before)), 0);
    }
    const mode_t saved = umask(c.umask_value);
    {
      tOutputFile file(path.c_str());
      file.stream() << "new";
      file.commit();
    }
    umask(saved);
    EXPECT_EQ(mode_of(path), c.after) << c.name;
    EXPECT_EQ(content(path), "new") << c.name;
  }
}

TEST(OutputFile, AReplacedFileKeepsItsOwnerGroupAndSetIdMode) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  const std::string path = fresh_directory("owner") + "/out";
  std::ofstream(path) << "old";
  ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
  ASSERT_EQ(chmod(path.c_str(), 02750), 0);
  tOutputFile file(path.c_str());
  file.stream() << "new";
  file.commit();
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4322u);
  EXPECT_EQ(info.st_mode & 07777, 02750u) << "the mode is set after the owner";
  EXPECT_EQ(content(path), "new");
}

TEST(OutputFile, ACharacterDeviceStaysADevice) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device needs root";
  const std::string device = fresh_directory("device") + "/null";
  // The kernel's null device, under a name of the test's own.
  ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  {
    tOutputFile file(device.c_str());
    file.stream() << "text";
    file.commit();
  }
  struct stat info {};
  ASSERT_EQ(lstat(device.c_str(), &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_EQ(info.st_rdev, makedev(1, 3));
}

TEST(OutputFile, ARunEndedBySignalLeavesNoTemporaryAndDiesOfTheSignal) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the test runner ignores stays ignored, by design.
    struct sigaction current {};
    ASSERT_EQ(sigaction(signal_number, nullptr, &current), 0);
    if (current.sa_handler == SIG_IGN) continue;
    const std::string directory = fresh_directory("signal_" + std::to_string(signal_number));
    const std::string path = directory + "/out";
    std::ofstream(path) << "old";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      tOutputFile file(path.c_str());
      file.stream() << "new" << std::flush;
      raise(signal_number);
      _exit(3);  // reached only when the signal did not end the process
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFSIGNALED(status) ? WTERMSIG(status) : 0, signal_number) << status;
    EXPECT_EQ(entries_in(directory), 1) << signal_number;
    EXPECT_EQ(content(path), "old") << signal_number;
  }
}

TEST(OutputFileDeathTest, FaultsEndTheRunNamingTheFileAndLeaveNoTemporary) {
  EXPECT_EXIT(
      {
        tOutputFile full("/dev/full");
        full.stream() << std::string(1 << 16, 'x');
        full.commit();
      },
      testing::ExitedWithCode(1), testing::Eq("\nError: Can't write file: /dev/full\n"));
  const std::string directory = fresh_directory("kept");
  const std::string kept = directory + "/out";
  std::ofstream(kept) << "old";
  EXPECT_EXIT(
      {
        tOutputFile file(kept.c_str());
        file.stream() << "new";
        std::exit(1);  // as bye() does, without unwinding
      },
      testing::ExitedWithCode(1), testing::_);
  EXPECT_EQ(content(kept), "old");
  EXPECT_EQ(entries_in(directory), 1);
  const std::string unwritable = directory + "/no_such_dir/x";
  EXPECT_EXIT(tOutputFile{unwritable.c_str()}, testing::ExitedWithCode(1),
              testing::Eq("\nError: Can't open file to write: " + unwritable + "\n"));
}

TEST(OutputFile, AWholeTextGoesToItsFileOrToStandardOutput) {
  const std::string path = fresh_directory("whole") + "/out";
  std::ofstream(path) << "old";
  write_whole_output(path.c_str(), "new\n");
  EXPECT_EQ(content(path), "new\n");
  for (const char* name : {"-", ""}) {
    testing::internal::CaptureStdout();
    write_whole_output(name, "to standard output\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "to standard output\n") << name;
  }
}
