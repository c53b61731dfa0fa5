// Tokens as the string extraction reads them, cut from blocks of any size.
#include "cluster/token_reader.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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

TEST(TokenReader, OnStandardInputALineStartingWithABlankGivesAnEmptyToken) {
  tStandardInputFrom input("g1 1 2\n g2 3 4\n");
  tTokenReader reader(std::cin, 4);
  EXPECT_EQ(tokens(reader, 8), (Words{"g1", "1", "2", "", "g2", "3", "4", ""}));
}

TEST(TokenReader, OnStandardInputAnEmptyLineGivesOneEmptyToken) {
  tStandardInputFrom input("a\n\nb\r\nc\n\td");
  tTokenReader reader(std::cin);
  EXPECT_EQ(tokens(reader, 6), (Words{"a", "", "b", "c", "", "d"}));
}

TEST(TokenReader, WordsSkipLineBreaksEvenOnStandardInput) {
  tStandardInputFrom input("\n\n 2\n\n3\n x");
  tTokenReader reader(std::cin);
  EXPECT_EQ(std::string(reader.next_word()), "2");
  EXPECT_EQ(std::string(reader.next_word()), "3");
  EXPECT_EQ(std::string(reader.next()), "");  // the newline after 3 ends the skipping
  EXPECT_EQ(std::string(reader.next()), "x");
}

TEST(TokenReader, AgreesWithTheStringExtractionOnRandomTexts) {
  std::mt19937 generator(7);
  const char alphabet[] = {'a', '7', '.', ' ', ' ', '\t', '\n', '\n', '\r', '\v', '\f'};
  std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
  for (int n = 0; n < 200; ++n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += alphabet[pick(generator)];
    const std::size_t block = 1 + n % 5;
    {
      std::istringstream reference(text), in(text);
      tTokenReader reader(in, block);
      EXPECT_EQ(tokens(reader, n + 2), extracted(reference, n + 2)) << n;
    }
    Words expected;
    {
      tStandardInputFrom input(text);
      expected = extracted(std::cin, n + 2);
    }
    tStandardInputFrom input(text);
    tTokenReader reader(std::cin, block);
    EXPECT_EQ(tokens(reader, n + 2), expected) << n;
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
