// Table formats, gzip input, missing values and -top: a small real table written in every
// format reads as its matrix layout does.
#include "cluster/input/table_reader.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/matrix_input.hpp"
#include "lib/diagnostics.hpp"

namespace {

struct tTable {
  std::vector<std::string> names, columns;
  std::vector<std::vector<std::string>> values;
};

// The matrix layout file of the tests' data, with made-up sample names.
tTable real_table() {
  std::ifstream in(CLUSTER_TEST_DATA "/bladder_rows.txt");
  int rows = 0, cols = 0;
  in >> rows >> cols;
  tTable table;
  for (int j = 0; j < cols; ++j) table.columns.push_back("S" + std::to_string(j + 1));
  table.values.resize(rows);
  for (int i = 0; i < rows; ++i) {
    table.names.emplace_back();
    in >> table.names.back();
    table.values[i].resize(cols);
    for (std::string& value : table.values[i]) in >> value;
  }
  return table;
}

std::string joined(const std::vector<std::string>& fields, const std::string& delimiter) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : delimiter) + field;
  return line;
}

// The table as text: a header of `header` then, per row, `leading` fields and the values.
std::string table_text(const tTable& t, const std::string& head, const std::string& header,
                       const std::string& delimiter, const std::string& end_of_line,
                       const std::string& leading_after_name) {
  std::string text = head + header + joined(t.columns, delimiter) + end_of_line;
  for (std::size_t i = 0; i < t.names.size(); ++i)
    text += t.names[i] + leading_after_name + joined(t.values[i], delimiter) + end_of_line;
  return text;
}

std::string gzip(const std::string& text) {
  z_stream zip{};
  deflateInit2(&zip, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string packed(deflateBound(&zip, text.size()) + 32, '\0');
  zip.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  zip.avail_in = static_cast<uInt>(text.size());
  zip.next_out = reinterpret_cast<Bytef*>(packed.data());
  zip.avail_out = static_cast<uInt>(packed.size());
  deflate(&zip, Z_FINISH);
  packed.resize(zip.total_out);
  deflateEnd(&zip);
  return packed;
}

tExpressionData read(const std::string& text, tReadSettings settings = {}) {
  std::istringstream in(text);
  std::ostringstream progress;
  return read_expression_data(in, "test", settings, progress);
}

std::vector<double> values_of(const tExpressionData& d) {
  return std::vector<double>(d.data.data(), d.data.data() + d.data.dim1() * d.data.dim2());
}

// The table with its names and sample names in double quotes, as R writes them.
tTable quoted(tTable t) {
  for (std::string& name : t.names) name = "\"" + name + "\"";
  for (std::string& column : t.columns) column = "\"" + column + "\"";
  return t;
}

// The table's values with decimal commas.
tTable decimal_commas(tTable t) {
  for (auto& row : t.values)
    for (std::string& value : row) std::replace(value.begin(), value.end(), '.', ',');
  return t;
}

// text with lines inserted after its first n lines.
std::string after_lines(int n, const std::string& text, const std::string& lines) {
  std::size_t at = 0;
  for (int i = 0; i < n; ++i) at = text.find('\n', at) + 1;
  return text.substr(0, at) + lines + text.substr(at);
}

std::vector<std::string> names_of(const tExpressionData& d) {
  std::vector<std::string> names;
  for (int i = 0; i < d.names.size(); ++i) names.emplace_back(d.names.get_name(i).c_str());
  return names;
}

}  // namespace

TEST(TableReader, EveryFormatCompressedOrNotReadsAsTheMatrixLayout) {
  const tTable t = real_table();
  std::ifstream file(CLUSTER_TEST_DATA "/bladder_rows.txt");
  const std::string matrix_text((std::istreambuf_iterator<char>(file)), {});
  const tExpressionData expected = read(matrix_text);
  std::string quoted_names = "\xEF\xBB\xBF\"gene\"";
  for (const std::string& c : t.columns) quoted_names += ",\"" + c + "\"";
  const struct {
    const char* format;
    std::string text;
  } cases[] = {
      {"tsv", table_text(t, "", "gene\t", "\t", "\n", "\t")},
      {"tsv", table_text(t, "", "", "\t", "\r\n", "\t")},  // R: no corner cell
      {"csv", table_text(t, "", "gene,", ",", "\n", ",")},
      {"csv",
       quoted_names + "\r\n" +
           table_text(t, "", "", ",", "\r\n", ",").substr(joined(t.columns, ",").size() + 2)},
      {"gct", table_text(t, "#1.2\n4\t5\n", "Name\tDescription\t", "\t", "\n", "\tna\t")},
      {"pcl", table_text(t, "", "UID\tNAME\tGWEIGHT\t", "\t", "\n", "\tgene\t1\t")},
      {"pcl", "UID\tNAME\tGWEIGHT\t" + joined(t.columns, "\t") + "\nEWEIGHT\t\t\t1\t1\t1\t1\t1\n" +
                  table_text(t, "", "", "\t", "\n", "\tgene\t1\t")
                      .substr(joined(t.columns, "\t").size() + 1)},
      // R's write.table: tab-separated, then its default (blanks, names quoted, no corner).
      {"tsv", table_text(quoted(t), "", "", "\t", "\n", "\t")},
      {"tsv", table_text(quoted(t), "\xEF\xBB\xBF", "", "\t", "\r\n", "\t")},
      {"ssv", table_text(quoted(t), "", "", " ", "\n", " ")},
      {"ssv", table_text(t, "", "  gene ", "  ", "\r\n", " \t ")},
      // R's write.csv2: semicolons and decimal commas.
      {"csv2", table_text(quoted(decimal_commas(t)), "", "\"\";", ";", "\r\n", ";")},
      {"gct",
       table_text(t, "\xEF\xBB\xBF#1.2\n4\t5\n", "Name\tDescription\t", "\t", "\n", "\tna\t")},
      // gct 1.3: one row annotation field, two column annotation rows.
      {"gct", after_lines(
                  3, table_text(t, "#1.3\n4\t5\t1\t2\n", "id\tDescription\t", "\t", "\n", "\tna\t"),
                  "type\tna\ta\tb\tc\td\te\nbatch\tna\t1\t1\t2\t2\t3\n")},
  };
  for (const auto& c : cases)
    for (bool compressed : {false, true}) {
      SCOPED_TRACE(c.text + (compressed ? " (gzip)" : ""));
      const tExpressionData got = read(compressed ? gzip(c.text) : c.text);
      EXPECT_EQ(values_of(got), values_of(expected));
      EXPECT_EQ(names_of(got), names_of(expected));
      ASSERT_EQ(got.column_names.size(), 5);
      EXPECT_STREQ(got.column_names[4].c_str(), "S5");
      EXPECT_STREQ(got.format.c_str(), c.format);
    }
  EXPECT_EQ(values_of(read(gzip(matrix_text))), values_of(expected));
}

TEST(TableReader, MissingValuesFollowThePolicy) {
  const std::string text =
      "g\ta\tb\tc\n"
      "r0\t1\tNA\t3\n"
      "r1\t\t#N/A\tnull\n"
      "r2\t4\t5\t6\n"
      "r3\tn/a\t2\tnan\n";
  const struct {
    tMissingPolicy policy;
    std::vector<std::string> names;
    std::vector<double> values;
  } cases[] = {
      {tMissingPolicy::zero, {"r0", "r1", "r2", "r3"}, {1, 0, 3, 0, 0, 0, 4, 5, 6, 0, 2, 0}},
      {tMissingPolicy::rowmean, {"r0", "r2", "r3"}, {1, 2, 3, 4, 5, 6, 2, 2, 2}},
      {tMissingPolicy::drop, {"r2"}, {4, 5, 6}},
  };
  for (const auto& c : cases) {
    tReadSettings settings;
    settings.missing = c.policy;
    testing::internal::CaptureStderr();
    const tExpressionData got = read(text, settings);
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(names_of(got), c.names);
    EXPECT_EQ(values_of(got), c.values);
    EXPECT_EQ(got.missing_values, 6);
    EXPECT_EQ(got.rows_read, 4);
    EXPECT_EQ(got.rows_dropped, 4 - static_cast<long long>(c.names.size()));
    EXPECT_THAT(warnings, c.policy == tMissingPolicy::zero
                              ? testing::HasSubstr("6 missing value(s) taken as 0.0")
                              : testing::HasSubstr("row(s) dropped for missing values"));
  }
}

TEST(TableReader, TopKeepsTheRowsOfLargestVarianceInInputOrder) {
  // Variances: r0 1, r1 0, r2 4, r3 1 (a tie with r0: the earlier row stays), r4 9.
  const std::string text = "6 2\nr0 0 2\nr1 5 5\nr2 0 4\nr3 1 3\nr4 0 6\nr5 1 1\n";
  tReadSettings settings;
  settings.top = 3;
  const tExpressionData got = read(text, settings);
  EXPECT_EQ(names_of(got), (std::vector<std::string>{"r0", "r2", "r4"}));
  EXPECT_EQ(values_of(got), (std::vector<double>{0, 2, 0, 4, 0, 6}));
  settings.log2 = true;
  EXPECT_EQ(values_of(read("1 2\nr 0 3\n", settings)), (std::vector<double>{0, 2}));
}

TEST(TableReaderDeathTest, MalformedTablesEndTheRunNamingTheLine) {
  using namespace std::string_literals;  // texts with NUL bytes
  const struct {
    std::string text;
    const char* message;
    const char* format = nullptr;  // forced, when not chosen from the content
  } cases[] = {
      {"g\ta\tb\nr0\t1\t2\nr1\t1\n",
       "(tsv): line 3: the row has 2 fields where the header calls for 3"},
      {"g\ta\tb\nr0\t1\t2x\n", "(tsv): line 2: column 3 (\"b\"): \"2x\" is neither a number"},
      {"g\ta\tb\n", "(tsv): the text ends before the first data row"},
      {"g,a\nr0,1,2,3\n", "(csv): line 2: the row has 4 fields where the header calls for 2 or 3"},
      {"#1.2\n3\t1\nName\tDescription\tS1\ng\td\t1\n", "(gct): 1 rows, the dimensions line"},
      {"\x1f\x8b\x08\x00garbage", "test: the gzip data end early"},
      {"\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xff\xff\xff\xff"s,
       "test: the gzip data are damaged"},
      {"1 2\nr -1 3\n", "-log2: test: row \"r\", column 0 holds the negative value -1"},
      // A delimiter the format does not cut at.
      {"g,a,b\nr0,1,2\n", "(tsv): line 1: the header row holds one field; -format csv reads it",
       "tsv"},
      {"g\ta\nr0 1\n", "(tsv): line 2: the first data row holds one field; -format ssv reads it",
       "tsv"},
      {"g;a;b\nr0;1;2\n", "(csv): line 1: the header row holds one field; -format csv2 reads it",
       "csv"},
      {"gene\n\"r0\"\n", "(ssv): line 1: the header row holds one field\n", "ssv"},
      {"#1.2\n1\t0\nName\tDescription\ng\td\n", "(gct): line 3: the header names no value column"},
      {"#1.3\n1\t1\t1\nid\tdesc\tS1\n", "(gct): line 2: the dimensions line holds four counts"},
      {"#1.3\n1\t1\t1\t0\nid\tdesc\tS1\ng\td\t1\t2\n",
       "(gct): line 4: the row has 4 fields where the header calls for 3"},
      {"UID,NAME,GWEIGHT,a\n",
       "(pcl): line 1: the header row is \"UID NAME GWEIGHT samples...\"; "
       "-format csv reads it",
       "pcl"},
      // A quoted name holding a line feed counts that line for the lines after it.
      {"g,a\n\"r\n0\",1\nr1,x\n", "(csv): line 4: column 2 (\"a\"): \"x\" is neither"},
      {"g;a\nr0;1,5\nr1;1.5,2\n", "(csv2): line 3: column 2 (\"a\"): \"1.5,2\" is neither"},
  };
  for (const auto& c : cases) {
    tReadSettings settings;
    settings.log2 = true;
    if (c.format) format_named(c.format, settings.format);
    EXPECT_EXIT(read(c.text, settings), testing::ExitedWithCode(1), testing::HasSubstr(c.message))
        << c.text;
  }
}

TEST(TableReader, PclRowWeightsOtherThanOneGetOneWarning) {
  const struct {
    const char* text;
    const char* warning;
  } cases[] = {
      {"UID\tNAME\tGWEIGHT\ta\tb\ng1\tx\t1\t1\t2\ng2\tx\t1.0\t3\t4\n", ""},
      {"UID\tNAME\tGWEIGHT\ta\tb\ng1\tx\t2\t1\t2\ng2\tx\t1\t3\t4\ng3\tx\t0.5\t5\t6\n",
       "\nWarning: Expression data test (pcl): 2 row weight(s) other than 1 ignored\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    const tExpressionData got = read(c.text);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.warning) << c.text;
    EXPECT_EQ(values_of(got).back(), got.data.dim1() * 2.0) << c.text;
  }
}

TEST(TableReader, QuotedNamesKeepTheirDelimitersAndQuotes) {
  const struct {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"\"a\"\t\"b\"\n\"g \"\"1\"\"\"\t1\t2\n\"g\t2\"\t3\t4\n", {"g \"1\"", "g\t2"}},
      {"\"a\" \"b\"\n\"gene one\" 1 2\n\"g2\" 3 4\n", {"gene one", "g2"}},
      {"\"\",\"a\",\"b\"\n\"g\r\n1\",1,2\n\"g,2\",3,4\n", {"g\r\n1", "g,2"}},
      {"\"\";\"a\";\"b\"\n\"g;1\";1,5;2\n\"g2\";3;-4,25\n", {"g;1", "g2"}},
  };
  for (const auto& c : cases) {
    const tExpressionData got = read(c.text);
    EXPECT_EQ(names_of(got), c.names) << c.text;
    ASSERT_EQ(got.column_names.size(), 2) << c.text;
    EXPECT_STREQ(got.column_names[1].c_str(), "b") << c.text;
    EXPECT_EQ(values_of(got).size(), 4u) << c.text;
  }
  EXPECT_EQ(values_of(read("\"\";\"a\";\"b\"\n\"g;1\";1,5;2\n\"g2\";3;-4,25\n")),
            (std::vector<double>{1.5, 2, 3, -4.25}));
}

TEST(TableReader, DroppedRowsAreNamedInTheRecord) {
  tReadSettings settings;
  settings.missing = tMissingPolicy::drop;
  testing::internal::CaptureStderr();
  const tExpressionData got = read("g\ta\tb\nr0\t1\tNA\nr1\t1\t2\nr2\t\t3\n", settings);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(names_of(got), (std::vector<std::string>{"r1"}));
  ASSERT_EQ(got.dropped_names.size(), 2u);
  EXPECT_STREQ(got.dropped_names[0].c_str(), "r0");
  EXPECT_STREQ(got.dropped_names[1].c_str(), "r2");
}

// The first 100 rows of the shipped table as R wrote them (tests/cluster/data/r_written/make.R):
// every layout reads the values R wrote, bit for bit those of the shipped text, and its names.
TEST(TableReader, TablesWrittenByRReadAsTheShippedText) {
  std::ifstream shipped(EXAMPLES_DIR "/bladder_top1000.txt");
  std::string line, matrix_text = "100 57\n";
  std::getline(shipped, line);
  for (int i = 0; i < 100 && std::getline(shipped, line); ++i) matrix_text += line + "\n";
  const tExpressionData expected = read(matrix_text);
  const struct {
    const char* file;
    const char* format;
  } cases[] = {{"plain.tsv", "tsv"}, {"default.txt", "ssv"},    {"tab.tsv", "tsv"},
               {"comma.csv", "csv"}, {"semicolon.csv", "csv2"}, {"table.gct", "gct"}};
  for (const auto& c : cases) {
    std::ifstream file(std::string(CLUSTER_TEST_DATA "/r_written/") + c.file);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    const tExpressionData got = read(text);
    EXPECT_STREQ(got.format.c_str(), c.format) << c.file;
    EXPECT_EQ(values_of(got), values_of(expected)) << c.file;
    EXPECT_EQ(names_of(got), names_of(expected)) << c.file;
    ASSERT_EQ(got.column_names.size(), 57) << c.file;
    EXPECT_STREQ(got.column_names[0].c_str(), "GSM71019") << c.file;
  }
}
