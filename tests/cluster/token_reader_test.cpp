// Tokens as the string extraction reads them, cut from blocks of any size.
#include "cluster/token_reader.hpp"

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

#include "cluster/plain_decimal.hpp"
#include "cluster/value_conversion.hpp"
#include "lib/string.hpp"
#include "tests/algorithms/each_width.hpp"

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

namespace {

// Stands in for the matrix reader's conversion of the tokens the fast path leaves: strtod.
double strtod_of(const char* token, std::size_t, void* calls) {
  ++*static_cast<long long*>(calls);
  return std::strtod(token, nullptr);
}

// Tokens in the forms expression matrices use and in forms the fast path must hand on.
std::vector<std::string> mixed_tokens(std::mt19937_64& generator, int n) {
  std::uniform_real_distribution<double> magnitude(-30, 30);
  const char* formats[] = {"%.6g", "%.17g", "%.3e", "%.10f", "%.0f", "%+.5E", "%.19g", "%a"};
  const char* odd[] = {
      "NA", "7abc", "-",     ".",     "1e",  "0x1A", "1.5e+999", "-0",
      "1.", ".5",   "+.5e2", "1e-22", "inf", "1,5",  "1.2.3",    "00000000000000000001.5"};
  std::vector<std::string> tokens;
  for (int i = 0; i < n; ++i) {
    char token[64];
    if (i % 5 == 4) {
      std::snprintf(token, sizeof token, "%s", odd[(i / 5) % 16]);
    } else {
      const double x = std::pow(10.0, magnitude(generator)) * (i % 2 ? -1 : 1);
      std::snprintf(token, sizeof token, formats[i % 8], x);
    }
    tokens.emplace_back(token);
  }
  return tokens;
}

void expect_strtod_values(const std::vector<std::string>& tokens, const std::vector<double>& got) {
  ASSERT_EQ(got.size(), tokens.size());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const double expected = std::strtod(tokens[i].c_str(), nullptr);
    ASSERT_EQ(std::memcmp(&got[i], &expected, sizeof expected), 0) << i << ": " << tokens[i];
  }
}

}  // namespace

TEST(TokenReader, ValuesAreStrtodsBitForBitInEveryBlockSize) {
  std::mt19937_64 generator(11);
  const std::vector<std::string> tokens = mixed_tokens(generator, 3000);
  const char* separators[] = {" ", "\t", "\n", "  \r\n"};
  std::string text;
  for (std::size_t i = 0; i < tokens.size(); ++i) text += tokens[i] + separators[i % 4];
  for_each_width([&](const std::string& width) {
    for (std::size_t block : {1, 7, 64, 1000, 1 << 18}) {
      SCOPED_TRACE(width + "block of " + std::to_string(block));
      std::istringstream in(text);
      tTokenReader reader(in, block);
      std::vector<double> values(tokens.size());
      long long calls = 0;
      reader.next_values(values.data(), 1000, strtod_of, &calls);
      reader.next_values(values.data() + 1000, tokens.size() - 1000, strtod_of, &calls);
      expect_strtod_values(tokens, values);
      EXPECT_GE(calls, 600);  // every odd token at least
      EXPECT_LT(calls, 2000);
    }
  });
}

TEST(TokenReader, ValuesOfEveryDigitLayoutAreStrtods) {
  // Every count of digits before and after the point up to 18 in all, with and without a point,
  // sign and exponent: the fast conversions split the digits at fixed places.
  std::mt19937_64 generator(13);
  std::uniform_int_distribution<int> digit(0, 9);
  const char* signs[] = {"", "-", "+"};
  const char* exponents[] = {"", "e-5", "E+3", "e22", "e-22"};
  std::vector<std::string> tokens;
  for (int whole = 0; whole <= 18; ++whole)
    for (int fraction = whole > 0 ? -1 : 0; whole + fraction <= 18; ++fraction) {  // -1: no point
      std::string token = signs[tokens.size() % 3];
      for (int i = 0; i < whole; ++i) token += static_cast<char>('0' + digit(generator));
      if (fraction >= 0) token += '.';
      for (int i = 0; i < fraction; ++i) token += static_cast<char>('0' + digit(generator));
      tokens.push_back(token + exponents[tokens.size() % 5]);
    }
  std::string text;
  for (const std::string& token : tokens) text += token + ' ';
  for_each_width([&](const std::string& width) {
    SCOPED_TRACE(width);
    std::istringstream in(text);
    tTokenReader reader(in);
    std::vector<double> values(tokens.size());
    long long calls = 0;
    reader.next_values(values.data(), values.size(), strtod_of, &calls);
    expect_strtod_values(tokens, values);
  });
}

TEST(TokenReader, ValuesOnStandardInputAreStrtodsToo) {
  std::mt19937_64 generator(12);
  const std::vector<std::string> tokens = mixed_tokens(generator, 500);
  std::string text;
  for (const std::string& token : tokens) text += token + "\t";
  tStandardInputFrom input(text);
  tTokenReader reader(std::cin, 16);
  std::vector<double> values(tokens.size());
  long long calls = 0;
  reader.next_values(values.data(), values.size(), strtod_of, &calls);
  expect_strtod_values(tokens, values);
}

TEST(TokenReader, ValuesShareTheTokensOfNextAndEndInEmptyTokens) {
  std::istringstream in("g1 1.5 2 g2 -0.25 x 3e2");
  tTokenReader reader(in, 3);
  double values[3];
  long long calls = 0;
  EXPECT_STREQ(reader.next(), "g1");
  reader.next_values(values, 2, strtod_of, &calls);
  EXPECT_EQ(values[0], 1.5);
  EXPECT_EQ(values[1], 2.0);
  EXPECT_STREQ(reader.next(), "g2");
  reader.next_values(values, 3, strtod_of, &calls);
  EXPECT_EQ(values[0], -0.25);
  EXPECT_EQ(values[1], 0.0);  // "x", converted by the callback
  EXPECT_EQ(values[2], 300.0);
  EXPECT_EQ(calls, 1);
  // Past the end: empty tokens, and the count of those read tells.
  EXPECT_EQ(reader.next_values(values, 2, strtod_of, &calls), 0u);
  EXPECT_EQ(calls, 3);
  EXPECT_STREQ(reader.next(), "");
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
