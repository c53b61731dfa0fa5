// Writing, reading and merging counts files.
#include "cluster/consensus/counts_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "lib/diagnostics.hpp"

namespace {

constexpr const char* magic = "consensus-counts";
constexpr std::size_t chunk_values = std::size_t{1} << 16;

std::string exact(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

template <typename T>
void write_array(std::ostream& os, const std::vector<T>& values) {
  std::vector<unsigned char> bytes;
  for (std::size_t start = 0; start < values.size(); start += chunk_values) {
    const std::size_t end = std::min(values.size(), start + chunk_values);
    bytes.resize(4 * (end - start));
    for (std::size_t p = start; p < end; ++p) {
      const std::uint32_t v = values[p];
      unsigned char* b = &bytes[4 * (p - start)];
      b[0] = static_cast<unsigned char>(v), b[1] = static_cast<unsigned char>(v >> 8);
      b[2] = static_cast<unsigned char>(v >> 16), b[3] = static_cast<unsigned char>(v >> 24);
    }
    os.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  }
}

bool parse_long(const std::string& text, long long low, long long high, long long& value) {
  if (text.empty() || text.find_first_not_of("0123456789-") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool parse_range(const std::string& text, long long low, long long high, int& a, int& b) {
  const std::size_t dots = text.find("..");
  long long x = 0, y = 0;
  if (dots == std::string::npos || !parse_long(text.substr(0, dots), low, high, x) ||
      !parse_long(text.substr(dots + 2), low, high, y))
    return false;
  a = static_cast<int>(x), b = static_cast<int>(y);
  return true;
}

bool parse_real(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0';
}

bool parse_seed(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  value = std::strtoull(text.c_str(), nullptr, 10);
  return errno == 0;
}

bool same_design(const tCountsHeader& a, const tCountsHeader& b) {
  const tConsensusDesign &x = a.design, &y = b.design;
  return a.rows == b.rows && a.columns == b.columns && x.runs == y.runs && x.seed == y.seed &&
         x.k_first == y.k_first && x.k_last == y.k_last && x.row_fraction == y.row_fraction &&
         x.column_fraction == y.column_fraction && x.normalize == y.normalize && x.t1 == y.t1 &&
         x.t2 == y.t2;
}

// One open shard: its header read, the stream at its first array.
struct tShard {
  std::string name;
  tCountsHeader header;
  std::unique_ptr<std::ifstream> stream;
};

tShard open_shard(const std::string& file, const std::vector<std::string>& names, int columns) {
  tShard shard{file, {}, std::make_unique<std::ifstream>(file, std::ios::binary)};
  if (!*shard.stream) bye("Can't open file to read: %s", file.c_str());
  std::string line;
  if (!std::getline(*shard.stream, line)) bye("%s: empty, not a counts file", file.c_str());
  const std::string why = parse_counts_header(line, shard.header);
  if (!why.empty()) bye("%s: not a counts file (%s)", file.c_str(), why.c_str());
  if (shard.header.rows != static_cast<int>(names.size()) || shard.header.columns != columns)
    bye("%s: counts of %d rows x %d columns, the input has %zu x %d", file.c_str(),
        shard.header.rows, shard.header.columns, names.size(), columns);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (!std::getline(*shard.stream, line) || line != names[i])
      bye("%s: row %zu is not \"%s\" of the input: counts of another input", file.c_str(), i + 1,
          names[i].c_str());
  return shard;
}

// Sorts the shards by first run and checks that they tile 0 .. total.
void check_tiling(std::vector<tShard>& shards) {
  std::sort(shards.begin(), shards.end(), [](const tShard& a, const tShard& b) {
    return a.header.design.first_run < b.header.design.first_run;
  });
  int next = 0;
  for (const tShard& shard : shards) {
    const tConsensusDesign& d = shard.header.design;
    if (d.first_run < next)
      bye("%s: runs %d..%d overlap runs already merged (up to %d)", shard.name.c_str(), d.first_run,
          d.end_run, next);
    if (d.first_run > next) bye("runs %d..%d are in none of the counts files", next, d.first_run);
    next = d.end_run;
  }
  const int total = shards.front().header.design.runs;
  if (next != total) bye("runs %d..%d are in none of the counts files", next, total);
}

bool read_array(std::istream& is, std::vector<std::uint32_t>& values) {
  std::vector<unsigned char> bytes;
  for (std::size_t start = 0; start < values.size(); start += chunk_values) {
    const std::size_t end = std::min(values.size(), start + chunk_values);
    bytes.resize(4 * (end - start));
    if (!is.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
      return false;
    for (std::size_t p = start; p < end; ++p) {
      const unsigned char* b = &bytes[4 * (p - start)];
      values[p] = b[0] | static_cast<std::uint32_t>(b[1]) << 8 |
                  static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
  }
  return true;
}

template <typename T>
void add_shard(tShard& shard, tCountArrays<T>& sums, int k_count, std::size_t pairs) {
  const std::uint32_t runs =
      static_cast<std::uint32_t>(shard.header.design.end_run - shard.header.design.first_run);
  std::vector<std::uint32_t> together(pairs), drawn(pairs), first_drawn;
  for (int k = 0; k < k_count; ++k) {
    if (!read_array(*shard.stream, together) || !read_array(*shard.stream, drawn))
      bye("%s: cut short in the counts of k index %d", shard.name.c_str(), k);
    if (k > 0 && drawn != first_drawn)
      bye("%s: corrupt: the drawn counts differ between k", shard.name.c_str());
    std::vector<T>& sum = sums.together[static_cast<std::size_t>(k)];
    for (std::size_t p = 0; p < pairs; ++p) {
      if (together[p] > drawn[p] || drawn[p] > runs)
        bye("%s: corrupt: pair %zu counts %u of %u drawn in %u runs", shard.name.c_str(), p,
            together[p], drawn[p], runs);
      sum[p] = static_cast<T>(sum[p] + together[p]);
    }
    if (k == 0) {
      for (std::size_t p = 0; p < pairs; ++p)
        sums.drawn[p] = static_cast<T>(sums.drawn[p] + drawn[p]);
      first_drawn = drawn;
    }
  }
  if (shard.stream->peek() != std::char_traits<char>::eof())
    bye("%s: corrupt: bytes after the last count", shard.name.c_str());
}

}  // namespace

std::string format_counts_header(const tCountsHeader& h) {
  const tConsensusDesign& d = h.design;
  std::ostringstream line;
  line << magic << " 1 rows=" << h.rows << " runs=" << d.first_run << ".." << d.end_run
       << " seed=" << d.seed << " k=" << d.k_first << ".." << d.k_last << " total=" << d.runs
       << " rows_fraction=" << exact(d.row_fraction)
       << " columns_fraction=" << exact(d.column_fraction) << " normalize=" << (d.normalize ? 1 : 0)
       << " t1=" << d.t1 << " t2=" << exact(d.t2) << " columns=" << h.columns;
  return line.str();
}

std::string parse_counts_header(const std::string& line, tCountsHeader& h) {
  std::istringstream words(line);
  std::string word;
  if (!(words >> word) || word != magic) return "no \"consensus-counts\" at the start";
  if (!(words >> word) || word != "1") return "layout version " + word + ", only 1 is read";
  std::map<std::string, std::string> fields;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) return "\"" + word + "\" is not key=value";
    if (!fields.emplace(word.substr(0, equals), word.substr(equals + 1)).second)
      return "key " + word.substr(0, equals) + " twice";
  }
  const char* keys[] = {
      "rows",      "runs", "seed", "k",      "total", "rows_fraction", "columns_fraction",
      "normalize", "t1",   "t2",   "columns"};
  for (const char* key : keys)
    if (fields.count(key) == 0) return std::string("no ") + key + "=";
  if (fields.size() != sizeof keys / sizeof keys[0]) return "a key not known";
  tConsensusDesign& d = h.design;
  long long rows = 0, total = 0, normalize = 0, t1 = 0, columns = 0;
  if (!parse_long(fields["rows"], 2, 1 << 20, rows)) return "rows=" + fields["rows"];
  if (!parse_long(fields["total"], 1, 0x7fffffff, total)) return "total=" + fields["total"];
  if (!parse_range(fields["runs"], 0, total, d.first_run, d.end_run) || d.first_run >= d.end_run)
    return "runs=" + fields["runs"];
  if (!parse_seed(fields["seed"], d.seed)) return "seed=" + fields["seed"];
  if (!parse_range(fields["k"], 1, rows, d.k_first, d.k_last) || d.k_first > d.k_last)
    return "k=" + fields["k"];
  if (!parse_real(fields["rows_fraction"], d.row_fraction) || !(d.row_fraction > 0) ||
      d.row_fraction > 1)
    return "rows_fraction=" + fields["rows_fraction"];
  if (!parse_real(fields["columns_fraction"], d.column_fraction) || !(d.column_fraction > 0) ||
      d.column_fraction > 1)
    return "columns_fraction=" + fields["columns_fraction"];
  if (!parse_long(fields["normalize"], 0, 1, normalize)) return "normalize=" + fields["normalize"];
  if (!parse_long(fields["t1"], 0, 0x7fffffff, t1)) return "t1=" + fields["t1"];
  if (!parse_real(fields["t2"], d.t2) || !(d.t2 > 0)) return "t2=" + fields["t2"];
  if (!parse_long(fields["columns"], 1, 0x7fffffff, columns)) return "columns=" + fields["columns"];
  h.rows = static_cast<int>(rows);
  h.columns = static_cast<int>(columns);
  d.runs = static_cast<int>(total);
  d.normalize = normalize != 0;
  d.t1 = static_cast<int>(t1);
  return "";
}

void write_counts_file(std::ostream& os, const tCountsHeader& header,
                       const std::vector<std::string>& names, const tPairCounts& counts) {
  os << format_counts_header(header) << '\n';
  for (const std::string& name : names) os << name << '\n';
  counts.visit([&](const auto& arrays) {
    for (const auto& together : arrays.together) {
      write_array(os, together);
      write_array(os, arrays.drawn);
    }
  });
}

tMergedCounts merge_counts_files(const std::vector<std::string>& files,
                                 const std::vector<std::string>& names, int columns) {
  std::vector<tShard> shards;
  for (const std::string& file : files) {
    shards.push_back(open_shard(file, names, columns));
    if (!same_design(shards.front().header, shards.back().header))
      bye("%s: counts of another design than %s (%s)", file.c_str(), files.front().c_str(),
          format_counts_header(shards.back().header).c_str());
  }
  check_tiling(shards);
  tConsensusDesign design = shards.front().header.design;
  design.first_run = 0;
  design.end_run = design.runs;
  tMergedCounts merged{design,
                       tPairCounts(static_cast<int>(names.size()), design.k_count(), design.runs)};
  merged.counts.visit([&](auto& sums) {
    for (tShard& shard : shards) {
      add_shard(shard, sums, design.k_count(), pair_count(static_cast<int>(names.size())));
      shard.stream.reset();
    }
  });
  return merged;
}
