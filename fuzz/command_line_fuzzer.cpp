// Fuzzes the clusterer's command-line parser: the input, split at NUL bytes, is the argument
// vector after the program name.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cluster/limits.hpp"
#include "cluster/options.hpp"
#include "cluster/run_files.hpp"
#include "fuzz/fatal_exit_guard.hpp"

namespace {

// Long command lines too.
constexpr std::size_t max_words = 4000;

// -i, -o, -o2 and -o3 open and create files: the target works in a scratch directory of its
// own, every '/' in a word becomes '_' so no name leaves it, and the files an input created
// are removed before the next one.
void enter_scratch_directory() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/command_line_fuzzer.XXXXXX";
  require(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  require(chdir(pattern.c_str()) == 0, "chdir to the scratch directory");
}

void empty_scratch_directory() {
  DIR* dir = opendir(".");
  require(dir != nullptr, "opendir");
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") unlink(name.c_str());
  }
  closedir(dir);
}

std::vector<std::string> words_of(const std::uint8_t* bytes, std::size_t size) {
  std::vector<std::string> words;
  if (size == 0) return words;
  std::string word;
  for (std::size_t i = 0; i < size && words.size() < max_words; ++i) {
    const char c = static_cast<char>(bytes[i]);
    if (c == '\0') {
      words.push_back(word);
      word.clear();
    } else {
      word += c == '/' ? '_' : c;
    }
  }
  if (words.size() < max_words) words.push_back(word);
  return words;
}

void check_settings(const tRunOptions& options) {
  const tClusteringSettings& c = options.clustering;
  require(c.num_clusters >= 1 && c.num_clusters <= max_num_clusters,
          "-num_clusters within 1 .. max_num_clusters");
  require(c.t1 >= 0, "-t1 not negative");
  require(c.t2 > 0 && std::isfinite(c.t2), "-t2 finite and above 0");
  require(c.restarts >= 1 && c.restarts <= max_restarts, "-restarts within 1 .. max_restarts");
  require(options.simulation.columns >= 0, "-columns not negative");
  require(std::isfinite(options.simulation.noise), "-noise finite");
  require(options.reading.top >= 0 && options.reading.top <= max_rows, "-top within 0 .. max_rows");
  require(!(options.reading.center && options.reading.zscore), "-center and -zscore not both");
  require(options.reports.verbosity >= 0 && options.reports.verbosity <= 4,
          "verbosity within 0 .. 4");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  enter_scratch_directory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::vector<std::string> words = words_of(bytes, size);
  std::vector<const char*> argv{"clusterer"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(argv.size()) - 1;

  run_until_fatal_exit([&] {
    const tRunOptions options = parse_command_line(argc, argv.data());
    check_settings(options);
    const tRunFiles files(options);
  });
  empty_scratch_directory();
  return 0;
}
