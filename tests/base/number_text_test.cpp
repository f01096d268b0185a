#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace ardvane {
namespace {

TEST(StrictParseTest, AcceptsPlainNumbersOnly) {
  struct Case {
    const char* text;
    double value;
  } accepted[] = {
      {"0", 0},       {"12.5", 12.5},  {"  12.5  ", 12.5}, {"-3", -3},
      {"+3", 3},      {".5", 0.5},     {"5.", 5},          {"1e3", 1000},
      {"1E-5", 1e-5}, {"2.5e+2", 250}, {"\t7\t", 7},       {"-0.25", -0.25},
  };
  for (const Case& c : accepted) {
    const auto parsed = ParseStrictFloat(c.text, ".");
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*parsed, c.value) << c.text;
  }
  const char* rejected[] = {"",    " ",   "$12", "1,000", "12%",  "abc",  "1.2.3",
                            "1e",  "e5",  "--1", "+-1",   ".",    "-",    "0x1F",
                            "1 2", "inf", "nan", "1e999", "12,5", "1.5$", "١٢"};
  for (const char* text : rejected) {
    EXPECT_FALSE(ParseStrictFloat(text, ".").has_value()) << text;
  }
}

TEST(StrictParseTest, UsesTheUsersDecimalSeparator) {
  EXPECT_DOUBLE_EQ(*ParseStrictFloat("12,5", ","), 12.5);
  EXPECT_FALSE(ParseStrictFloat("12.5", ",").has_value());
  EXPECT_DOUBLE_EQ(StrToFloatDefault("1.234,5", 9, ","), 9);  // thousands separator
}

TEST(StrictParseTest, Integers) {
  EXPECT_EQ(ParseStrictInt(" 12 "), 12);
  EXPECT_EQ(ParseStrictInt("-7"), -7);
  EXPECT_EQ(ParseStrictInt("+7"), 7);
  for (const char* text : {"", "1.0", "x", "+-1", "99999999999", "1e3", "-"}) {
    EXPECT_FALSE(ParseStrictInt(text).has_value()) << text;
  }
}

TEST(StrToFloatTest, BlankTextIsZeroAndTheFallbackOnlyCoversBadText) {
  EXPECT_EQ(StrToFloatDefault(" ", 5, "."), 0);
  EXPECT_EQ(StrToFloatDefault("", 5, "."), 0);
  EXPECT_EQ(StrToFloatDefault("a", 5, "."), 5);
  EXPECT_EQ(StrToFloatDefault("$1,500.00", 0, "."), 0);
  EXPECT_EQ(StrToFloatDefault(" 12.5 ", 0, "."), 12.5);
  EXPECT_EQ(StrToFloatSafe("junk", "."), 0);
  EXPECT_EQ(StrToIntDefault("", 1), 0);
  EXPECT_EQ(StrToIntDefault("x", 1), 1);
  EXPECT_EQ(StrToIntDefault("12", 1), 12);
}

TEST(FormatGeneralTest, FifteenSignificantDigitsAndExponentsOnlyAtTheEnds) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {1500, "1500"},
      {18.9, "18.9"},
      {0, "0"},
      {-12.5, "-12.5"},
      {0.1 + 0.2, "0.3"},
      {1e-5, "1E-5"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {-2.5e-7, "-2.5E-7"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {9999999999999999.0, "1E16"},
      {123456789012345678.0, "1.23456789012346E17"},
      {12500.5, "12500.5"},
      {2340.75, "2340.75"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3 * 1000, "666.666666666667"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatGeneral(c.value, "."), c.text) << c.text;
  EXPECT_EQ(FormatGeneral(1234.5, ","), "1234,5");
  EXPECT_EQ(FormatGeneral(2.5e-6, ","), "2,5E-6");
}

TEST(FormatGeneralTest, ParsesBackToTheSameFifteenDigits) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-12, 20);
  for (int i = 0; i < 2000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    for (const char* separator : {".", ","}) {
      const std::string text = FormatGeneral(value, separator);
      const auto back = ParseStrictFloat(text, separator);
      ASSERT_TRUE(back.has_value()) << text;
      EXPECT_NEAR(*back, value, std::fabs(value) * 1e-14) << text;
      EXPECT_EQ(FormatGeneral(*back, separator), text);
    }
  }
}

}  // namespace
}  // namespace ardvane
