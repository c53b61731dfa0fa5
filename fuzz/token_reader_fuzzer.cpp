// Fuzzes the tokenizer against a plain scan of the whole text with blocks of every small size,
// the fast decimal conversion against strtod, and the matrix reader's values of the tokens
// against strtod's, read in blocks and pieces as small as the block size.
// The first input byte chooses the block size, the second the order of the calls; the rest is
// the text.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/matrix_layout.hpp"
#include "cluster/input/plain_decimal.hpp"
#include "cluster/input/token_reader.hpp"
#include "fuzz/fatal_exit_guard.hpp"

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The tokens of the whole text in memory. A token ends at white space; the reader hands it out
// as a C string, so whoever reads it sees it end at a NUL byte too.
class tPlainTokens {
 public:
  explicit tPlainTokens(const std::string& text) : text_(text) {}

  std::string next() {
    skip_space();
    return cut();
  }
  bool at_end() {
    skip_space();
    return pos_ == text_.size();
  }

 private:
  std::string cut() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !is_space(text_[pos_])) ++pos_;
    const std::string token = text_.substr(start, pos_ - start);
    return token.substr(0, token.find('\0'));
  }

  void skip_space() {
    while (pos_ < text_.size() && is_space(text_[pos_])) ++pos_;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

// A matrix value token as strtod reads it: NA and NaN are missing, a value not finite is 0.0.
double by_strtod(const std::string& token) {
  if (token == "NA" || token == "NaN") return 0.0;
  const double value = std::strtod(token.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

bool same_bits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Digits after the terminating NUL must not count: the padding is made of them.
void check_plain_decimal(const std::string& token) {
  std::vector<char> text(token.begin(), token.end());
  text.push_back('\0');
  text.insert(text.end(), 64, '7');
  double value = 0;
  const char* end = plain_decimal_prefix(text.data(), value);
  if (!end) return;
  require(end >= text.data() && end <= text.data() + token.size(),
          "a plain decimal prefix lies within its token");
  const std::string prefix(text.data(), static_cast<std::size_t>(end - text.data()));
  require(same_bits(value, std::strtod(prefix.c_str(), nullptr)),
          "a plain decimal converts bit for bit as strtod");
}

// The tokens as the values of a one-row matrix, read with blocks and pieces of block_size. A
// token that starts with a NUL byte is empty as a C string and cannot stand in the row's text.
void compare_values(std::vector<std::string> tokens, std::size_t block_size) {
  tokens.erase(std::remove(tokens.begin(), tokens.end(), std::string()), tokens.end());
  if (tokens.empty()) return;
  std::string text = "1 " + std::to_string(tokens.size()) + "\nrow";
  for (const std::string& token : tokens) text += " " + token;
  std::istringstream is(text);
  std::ostringstream progress;
  tTextSplit split;
  split.block_bytes = block_size;
  split.piece_bytes = block_size;
  const tExpressionData read = read_matrix_layout(is, "fuzz", tReadSettings(), "", progress, split);
  for (std::size_t j = 0; j < tokens.size(); ++j)
    require(same_bits(read.data.data()[j], by_strtod(tokens[j])),
            "the matrix reader gives strtod's value of each token, bit for bit");
}

void compare(tTokenReader& reader, tPlainTokens& plain, std::uint32_t pattern,
             std::size_t max_calls, std::size_t block_size) {
  for (std::size_t call = 0; call < max_calls; ++call) {
    pattern = pattern * 1103515245u + 12345u;
    const std::uint32_t choice = pattern >> 16;
    switch (choice % 3) {
      case 0: {
        const std::string expected = plain.next();
        require(expected == reader.next(), "next() gives the token of the plain scan");
        check_plain_decimal(expected);
        break;
      }
      case 1:
        require(plain.at_end() == reader.at_end(), "at_end() tells whether a token is left");
        break;
      default: {
        const std::size_t count = 1 + choice / 3 % 6;
        std::vector<std::string> tokens;
        while (tokens.size() < count && !plain.at_end()) tokens.push_back(plain.next());
        for (std::size_t j = 0; j < tokens.size(); ++j)
          require(tokens[j] == reader.next(), "next() gives the token of the plain scan");
        if (!tokens.empty()) compare_values(tokens, block_size);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t block_size = 1 + bytes[0];
  const std::uint32_t pattern = bytes[1];
  const std::string text(reinterpret_cast<const char*>(bytes) + 2, size - 2);
  // Every call takes at least one byte until the end; a few more check the end itself.
  const std::size_t max_calls = text.size() + 4;

  std::istringstream is(text);
  tPlainTokens plain(text);
  tTokenReader reader(is, block_size);
  compare(reader, plain, pattern, max_calls, block_size);
  return 0;
}
