// The byte input: plain bytes passed on, gzip members read whole one after another, anything
// else after the gzip data refused.
#include "io/input_bytes.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/io/gzip_text.hpp"

namespace {

std::string read_all(const std::string& bytes, std::size_t block) {
  std::istringstream source(bytes);
  tInputBytes input(source, "data.gz");
  std::string text, piece(block, '\0');
  std::istream& is = input.stream();
  do {
    is.read(piece.data(), static_cast<std::streamsize>(block));
    text.append(piece.data(), static_cast<std::size_t>(is.gcount()));
  } while (is);
  return text;
}

// A large text of varied lines, so that members span many blocks.
std::string long_text() {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "row" + std::to_string(i * 7919 % 100003) + "\t1.5\n";
  return text;
}

}  // namespace

TEST(InputBytes, GzipMembersReadWholeOneAfterAnother) {
  const std::string bgzf_size = std::string("BC\x02\x00\x00\x00", 6);  // as bgzip writes it
  const std::string big = long_text();
  struct tCase {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const tCase cases[] = {
      {"plain", "a\tb\n1\t2\n", "a\tb\n1\t2\n"},
      {"one member", gzip_member("a\tb\n"), "a\tb\n"},
      {"two members, as cat a.gz b.gz", gzip_member("a\tb\n") + gzip_member("1\t2\n"),
       "a\tb\n1\t2\n"},
      {"blocks with an extra field and an empty last member, as bgzip writes",
       gzip_member("a\t", bgzf_size) + gzip_member("b\n", bgzf_size) + gzip_member("", bgzf_size),
       "a\tb\n"},
      {"large members", gzip_member(big) + gzip_member(big.substr(7)), big + big.substr(7)},
  };
  for (const tCase& c : cases)
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 16})
      EXPECT_EQ(read_all(c.bytes, block), c.text) << c.name << ", reads of " << block;
}

TEST(InputBytesDeathTest, DamagedOrTrailingBytesEndTheRunNamingTheFile) {
  const std::string member = gzip_member("a\tb\n1\t2\n");
  std::string bad_check = member;
  bad_check[bad_check.size() - 8] ^= 1;  // the first byte of the member's CRC
  struct tCase {
    const char* name;
    std::string bytes;
    const char* message;
  };
  const tCase cases[] = {
      {"text after the members", member + "junk",
       "data.gz: bytes that are not gzip data follow the gzip data"},
      {"one byte after the members", member + "x",
       "data.gz: bytes that are not gzip data follow the gzip data"},
      {"zero bytes after the members", member + std::string(4, '\0'),
       "data.gz: bytes that are not gzip data follow the gzip data"},
      {"wrong check sum", bad_check, "data.gz: the gzip data are damaged (incorrect data check)"},
      {"cut short", member.substr(0, member.size() - 3),
       "data.gz: the gzip data end early (the file is cut short)"},
      {"second member cut short", member + member.substr(0, 12),
       "data.gz: the gzip data end early (the file is cut short)"},
  };
  for (const tCase& c : cases)
    EXPECT_EXIT(read_all(c.bytes, 1 << 16), testing::ExitedWithCode(1),
                testing::Eq(std::string("\nError: ") + c.message + "\n"))
        << c.name;
}
