// Tokens as the string extraction reads them, cut from blocks of any size.
#include "cluster/input/token_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/plain_decimal.hpp"
#include "cluster/input/value_conversion.hpp"
#include "lib/string.hpp"

namespace {

std::vector<std::string> tokens(tTokenReader& reader, int n) {
  std::vector<std::string> result;
  for (int i = 0; i < n; ++i) result.emplace_back(reader.next());
  return result;
}

// Makes std::cin read text for the life of the object.
class tStandardInputFrom {
 public:
  explicit tStandardInputFrom(const std::string& text) : buffer_(text) {
    saved_ = std::cin.rdbuf(&buffer_);
    std::cin.clear();
  }
  ~tStandardInputFrom() {
    std::cin.rdbuf(saved_);
    std::cin.clear();
  }

 private:
  std::stringbuf buffer_;
  std::streambuf* saved_;
};

using Words = std::vector<std::string>;

// The same number of words taken by the string extraction.
Words extracted(std::istream& in, int n) {
  Words result;
  for (int i = 0; i < n; ++i) {
    string word;
    in >> word;
    result.emplace_back(word.c_str());
  }
  return result;
}

}  // namespace

TEST(TokenReader, SplitsAtEveryKindOfWhiteSpaceAndThenGivesEmptyTokens) {
  std::istringstream in(" a\tbb\n\n c\r\nd\v\fe ");
  tTokenReader reader(in);
  EXPECT_EQ(tokens(reader, 7), (Words{"a", "bb", "c", "d", "e", "", ""}));
}

TEST(TokenReader, TokensAcrossBlockBoundariesStayWhole) {
  const std::string long_name(100, 'x');
  std::istringstream in("12345 " + long_name + " 6\n789");
  for (std::size_t block : {1, 2, 3, 7, 64}) {
    in.clear();
    in.seekg(0);
    tTokenReader reader(in, block);
    EXPECT_EQ(tokens(reader, 5), (Words{"12345", long_name, "6", "789", ""})) << block;
  }
}

TEST(TokenReader, TokenEndingTheInputIsTerminated) {
  std::istringstream in("1.5e2");
  tTokenReader reader(in, 5);
  EXPECT_EQ(tokens(reader, 2), (Words{"1.5e2", ""}));
}

TEST(TokenReader, FileStreamsIgnoreLineBreaks) {
  std::istringstream in("g1 1 2\n g2 3 4\n\nrest");
  tTokenReader reader(in);
  EXPECT_EQ(tokens(reader, 7), (Words{"g1", "1", "2", "g2", "3", "4", "rest"}));
}

TEST(TokenReader, StandardInputReadsExactlyAsAFile) {
  const std::string text = "g1 1 2\n g2 3 4\n\n\tx\r\n";
  std::istringstream file(text);
  tTokenReader from_file(file, 4);
  tStandardInputFrom input(text);
  tTokenReader from_stdin(std::cin, 4);
  EXPECT_EQ(tokens(from_stdin, 9), tokens(from_file, 9));
}

TEST(TokenReader, AgreesWithTheStringExtractionOnRandomTexts) {
  std::mt19937 generator(7);
  const char alphabet[] = {'a', '7', '.', ' ', ' ', '\t', '\n', '\n', '\r', '\v', '\f'};
  std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
  for (int n = 0; n < 200; ++n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += alphabet[pick(generator)];
    const std::size_t block = 1 + n % 5;
    std::istringstream reference(text), in(text);
    tTokenReader reader(in, block);
    EXPECT_EQ(tokens(reader, n + 2), extracted(reference, n + 2)) << n;
  }
}

TEST(TokenReader, ParsesWholeIntegerTokensOnly) {
  long long value = -1;
  EXPECT_TRUE(parse_integer("42", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(parse_integer("+7", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(parse_integer("-12", value));
  EXPECT_EQ(value, -12);
  EXPECT_TRUE(parse_integer("99999999999999999999999", value));
  EXPECT_EQ(value, 1000000000000000000LL);
  for (const char* bad : {"", "-", "+", "1.5", "3x", "x3", "0x10", " 1", "1e3"}) {
    value = 5;
    EXPECT_FALSE(parse_integer(bad, value)) << bad;
    EXPECT_EQ(value, 5) << bad;
  }
}

TEST(PlainDecimal, GivesStrtodsValueOrLeavesTheToken) {
  struct tCase {
    const char* text;
    int length;  // of the plain prefix; -1 when left to strtod
  };
  const tCase cases[] = {{"0.133495\t", 8},
                         {"-1.23457e-05 ", 12},
                         {"12345678.5 ", 10},
                         {"123456789.5 ", 11},
                         {"7abc", 1},
                         {"0x1A", 1},
                         {"1e", -1},
                         {"-", -1},
                         {".", -1},
                         {"1e23", -1},
                         {"9007199254740993", -1},
                         {"1.5e00002", 8},
                         {"0.0000000000000000000001", -1}};
  for (const tCase& c : cases) {
    char padded[64] = {};
    std::memcpy(padded, c.text, std::strlen(c.text));
    double value = -7.0;
    const char* stop = plain_decimal_prefix(padded, value);
    if (c.length < 0) {
      EXPECT_EQ(stop, nullptr) << c.text;
      continue;
    }
    ASSERT_NE(stop, nullptr) << c.text;
    EXPECT_EQ(stop - padded, c.length) << c.text;
    const double expected = std::strtod(std::string(padded, c.length).c_str(), nullptr);
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << c.text;
  }
}

TEST(TokenExcerpt, QuotesLongTokensByTheirFirstFortyBytes) {
  const std::string forty(40, 'x');
  EXPECT_STREQ(token_excerpt("12abc").c_str(), "12abc");
  EXPECT_STREQ(token_excerpt(forty.c_str()).c_str(), forty.c_str());
  EXPECT_STREQ(token_excerpt((forty + "yz").c_str()).c_str(), (forty + "...").c_str());
}

TEST(TokenExcerpt, QuotesUnprintableBytesInHex) {
  EXPECT_STREQ(token_excerpt("a\x01\x7f\xe9z").c_str(), "a\\x01\\x7f\\xe9z");
  // Forty bytes of the token are quoted, however long their quoted form.
  const std::string controls(41, '\x1b');
  std::string expected;
  for (int i = 0; i < 40; ++i) expected += "\\x1b";
  EXPECT_STREQ(token_excerpt(controls.c_str()).c_str(), (expected + "...").c_str());
}
