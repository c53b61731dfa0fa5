// The choice of -format auto from the first bytes, and the hints that name another format.
#include "cluster/input/table_format.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(TableFormat, AutoChoosesTheLayoutFromTheFirstLine) {
  const struct {
    const char* head;
    const char* format;
  } cases[] = {
      {"4 5\nrow 1 2 3 4 5\n", "matrix"},
      {"4\n5\nrow 1 2 3 4 5\n", "matrix"},  // the counts on two lines
      {"  4\t5  \r\n", "matrix"},
      {"1\t2\t3\ng\t4\t5\t6\n", "tsv"},  // integer sample names
      {"2 2 a 1 2 b 3 4", "ssv"},        // a matrix on one line needs -format matrix
      {"\"a\" \"b\" \"c\"\n\"g\" 1 2 3\n", "ssv"},
      {"#1.2\n1\t1\n", "gct"},
      {"\xEF\xBB\xBF#1.3\n1\t1\t0\t0\n", "gct"},
      {"UID\tNAME\tGWEIGHT\ta\n", "pcl"},
      {"\xEF\xBB\xBF\"a\"\t\"b\"\n", "tsv"},
      {"\"\",\"a\",\"b\"\r\n", "csv"},
      {"\"\";\"a\";\"b\"\r\n", "csv2"},
      {"\"a;b;c\",\"d\"\n", "csv"},  // semicolons inside quotes do not count
      {"g;a,5;b\n", "csv2"},
      {"S1 S2\ng 1 2\n", "ssv"},
      {"2.5 3\ng 1 2 3\n", "matrix"},  // a count line gone wrong keeps its report
      {"three 2\n", "matrix"},
      {"word\n", "matrix"},
      {"", "matrix"},
  };
  for (const auto& c : cases) EXPECT_STREQ(format_name(detect_format(c.head)), c.format) << c.head;
}

TEST(TableFormat, HintsNameTheFormatOfTheDelimiterFound) {
  const struct {
    const char* line;
    std::string header_hint, delimiter_hint;
  } cases[] = {
      {"2 3\tS1\tS2", "; the first line looks like a header row: try -format tsv",
       "; -format tsv reads it"},
      {"g;a;b", "; the first line looks like a header row: try -format csv2",
       "; -format csv2 reads it"},
      {"g,a,b", "; the first line looks like a header row: try -format csv",
       "; -format csv reads it"},
      {"gene  a b", "; the first line looks like a header row: try -format ssv",
       "; -format ssv reads it"},
      {"1 2 3", "", "; -format ssv reads it"},
      {"2 3", "", "; -format ssv reads it"},
      {"gene", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(header_row_hint(std::string(c.line) + "\nrest"), c.header_hint) << c.line;
    EXPECT_EQ(delimiter_hint(c.line), c.delimiter_hint) << c.line;
  }
}

TEST(TableFormat, EveryNameReadsBackAsItsFormat) {
  for (const char* name : {"auto", "matrix", "tsv", "ssv", "csv", "csv2", "gct", "pcl"}) {
    tTableFormat format = tTableFormat::matrix;
    ASSERT_TRUE(format_named(name, format)) << name;
    EXPECT_STREQ(format_name(format), name);
  }
  tTableFormat format = tTableFormat::matrix;
  EXPECT_FALSE(format_named("xlsx", format));
}
