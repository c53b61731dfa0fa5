// Values of single tokens and table cells: kinds, missing-value marks, bit-exact conversion.
#include "cluster/input/value_conversion.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

TEST(ValueConversion, MatrixTokensOfEveryKind) {
  // Only exactly NA and NaN are missing; other spellings go to strtod.
  const struct {
    const char* token;
    tValueKind kind;
    double value;
  } cases[] = {
      {"NA", tValueKind::missing, 0},     {"NaN", tValueKind::missing, 0},
      {"na", tValueKind::not_number, 0},  {"", tValueKind::not_number, 0},
      {"nan", tValueKind::not_finite, 0}, {"NAN", tValueKind::not_finite, 0},
      {"NA1", tValueKind::not_number, 0}, {"7abc", tValueKind::not_number, 7},
      {"2.25", tValueKind::number, 2.25}, {"1e999", tValueKind::not_finite, 0},
  };
  for (const auto& c : cases) {
    double value = -1;
    EXPECT_EQ(matrix_token_value(c.token, value), c.kind) << c.token;
    EXPECT_EQ(value, c.value) << c.token;
  }
}

TEST(ValueConversion, TableCellsOfEveryKind) {
  const struct {
    const char* cell;
    tValueKind kind;
    double value;
  } cases[] = {
      {"", tValueKind::missing, 0},        {" NA ", tValueKind::missing, 0},
      {"#n/a", tValueKind::missing, 0},    {"NULL", tValueKind::missing, 0},
      {"nan", tValueKind::missing, 0},     {" 1.5 ", tValueKind::number, 1.5},
      {"-2e3", tValueKind::number, -2000}, {"7abc", tValueKind::not_number, 0},
      {"inf", tValueKind::not_finite, 0},  {"N A", tValueKind::not_number, 0},
  };
  for (const auto& c : cases) {
    std::string padded = std::string(c.cell) + std::string(64, '\0');
    double value = -1;
    EXPECT_EQ(cell_value(padded.c_str(), std::strlen(c.cell), value), c.kind) << c.cell;
    EXPECT_EQ(value, c.value) << c.cell;
  }
}

TEST(ValueConversion, MatrixTokensConvertBitForBitAsStrtod) {
  std::mt19937_64 generator(42);
  std::uniform_real_distribution<double> magnitude(-30, 30);
  const char* formats[] = {"%.6g", "%.17g", "%.3e", "%.10f", "%.0f", "%+.5E", "%.19g", "%a"};
  for (int n = 0; n < 20000; ++n) {
    const double x = std::pow(10.0, magnitude(generator)) * (n % 2 ? -1 : 1);
    char token[64];
    std::snprintf(token, sizeof token, formats[n % 8], x);
    const double expected = std::strtod(token, nullptr);
    double got = 0;
    ASSERT_EQ(matrix_token_value(token, got), tValueKind::number) << token;
    ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << token;
  }
  for (const char* token : {"9007199254740993", "9007199254740992e-22", "123456789012345678e3",
                            "1e22", "1e23", "4.9e-324", "00000000000000000001.5", "1.", ".5",
                            "+.5e+2", "1e+0022", "1e-22", "1.7976931348623157e308", "-0.0e5"}) {
    const double expected = std::strtod(token, nullptr);
    double got = 0;
    EXPECT_EQ(matrix_token_value(token, got), tValueKind::number) << token;
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << token;
  }
}
