#include "figures/display_formats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "figures/report_formats.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::kCommaRegional;
using testing::kPointRegional;

Money Count(std::int64_t count) { return Money::FromCount(count); }

TEST(FormatMoneyTest, UnitedStatesPatterns) {
  struct Case {
    std::int64_t count;  // ten-thousandths
    int decimals;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {12345000, 2, "$1,234.50"},
      {-12345000, 2, "($1,234.50)"},
      {1850000000, 2, "$185,000.00"},
      {1850000000, 0, "$185,000"},
      {0, 2, "$0.00"},
      {-40, 2, "$0.00"},           // -0.004 rounds to zero: no parentheses
      {12345650, 2, "$1,234.57"},  // exact 1234.565, half away from zero
      {-12345650, 2, "($1,234.57)"},
      {25000, 0, "$3"},
      {-25000, 0, "($3)"},
      {50, 2, "$0.01"},
      // Ten significant digits: 123,456,789.1234 is first 123,456,789.1.
      {1234567891234, 2, "$123,456,789.10"},
      {9999999999900, 2, "$1,000,000,000.00"},
      // More than ten integer digits: exponent notation.
      {123456789012340000, 2, "$1.23456789E13"},
      {std::numeric_limits<std::int64_t>::min(), 2, "($9.223372037E14)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMoney(Count(c.count), c.decimals, kPointRegional), c.expected)
        << c.count << " at " << c.decimals;
  }
}

TEST(FormatMoneyTest, LocalePatternsAndSeparators) {
  EXPECT_EQ(FormatMoney(Count(12345000), 2, kCommaRegional), "1.234,50 €");
  EXPECT_EQ(FormatMoney(Count(-12345000), 2, kCommaRegional), "-1.234,50 €");
  EXPECT_EQ(FormatMoney(Count(-12345000), 0, kCommaRegional), "-1.235 €");
  // A symbol holding the letter "n" is not taken for the amount.
  RegionalSettings krone = kPointRegional;
  krone.currencySymbol = "kn";
  krone.currencyPositivePattern = "n $";
  EXPECT_EQ(FormatMoney(Count(10000), 2, krone), "1.00 kn");
}

TEST(FormatMoneyTest, UnitsMatchMoney) {
  EXPECT_EQ(FormatMoneyUnits(1234.565, 2, kPointRegional), "$1,234.57");
  EXPECT_EQ(FormatMoneyUnits(-2.675, 2, kPointRegional), "($2.68)");
  EXPECT_EQ(FormatMoneyUnits(0.1 + 0.2, 2, kPointRegional), "$0.30");
  EXPECT_EQ(FormatMoneyUnits(-1e-9, 2, kPointRegional), "$0.00");
  EXPECT_EQ(FormatMoneyUnits(std::nan(""), 2, kPointRegional), "$0.00");
  for (const std::int64_t count : {0LL, 1LL, -49LL, 12345650LL, -999999999990000LL}) {
    EXPECT_EQ(FormatMoneyUnits(static_cast<double>(Count(count).Units()), 2, kPointRegional),
              FormatMoney(Count(count), 2, kPointRegional))
        << count;
  }
}

TEST(FixedFormatTest, PercentsYearsAndNumbers) {
  struct Case {
    std::string actual, expected;
  };
  const std::vector<Case> cases = {
      {FormatPercent3(7.5, kPointRegional), "7.500%"},
      {FormatPercent3(12.3456789, kPointRegional), "12.346%"},
      {FormatPercent3(12345.5, kPointRegional), "12345.500%"},  // no grouping
      {FormatPercent3(-0.5, kPointRegional), "-0.500%"},
      {FormatPercent3(-0.0001, kPointRegional), "0.000%"},
      {FormatPercent3(7.5, kCommaRegional), "7,500%"},
      {FormatPercent2(12.345678, kPointRegional), "12.35%"},
      // Five significant digits leave fewer decimals than two.
      {FormatPercent2(1234.5678, kPointRegional), "1234.60%"},
      {FormatPercent2(123456.7, kPointRegional), "1.2346E5%"},
      {FormatPercent2(10000, kPointRegional), "10000.00%"},
      {FormatPercent1(2.5, kPointRegional), "2.5%"},
      {FormatPercent1(2.25, kPointRegional), "2.3%"},
      {FormatYears(12.5, kPointRegional), "12.5"},
      {FormatYears(0, kPointRegional), "0.0"},
      {FormatYears(2.25, kCommaRegional), "2,3"},
      {FormatYears(10000.25, kPointRegional), "10000.0"},
      {FormatYears(std::numeric_limits<double>::infinity(), kPointRegional), "0"},
      {FormatFixed(99.9996, 3, 5, kPointRegional), "100.000"},
      {FormatFixed(0.000123456, 3, 10, kPointRegional), "0.000"},
      {FormatWholeNumber(360), "360"},
      {FormatWholeNumber(-1), "-1"},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].actual, cases[i].expected) << "case " << i;
  }
}

TEST(FormatMonthYearTest, MonthAndYear) {
  EXPECT_EQ(FormatMonthYear(0), "NA");  // no date, as the report writes it
  EXPECT_EQ(FormatMonthYear(EncodeDate(2024, 6, 15)), "Jun 2024");
  EXPECT_EQ(FormatMonthYear(EncodeDate(2031, 1, 1)), "Jan 2031");
}

TEST(ReportMonthYearTest, EachLanguageJoinsMonthAndYearItsOwnWay) {
  EXPECT_EQ(ReportMonthYear(EncodeDate(2036, 12, 7), Language::kEnglish, "NA"), "December 2036");
  EXPECT_EQ(ReportMonthYear(EncodeDate(2036, 12, 7), Language::kSpanish, "N/D"),
            "diciembre de 2036");
  EXPECT_EQ(ReportMonthYear(EncodeDate(2015, 3, 31), Language::kSpanish, "N/D"), "marzo de 2015");
  EXPECT_EQ(ReportMonthYear(0, Language::kSpanish, "N/D"), "N/D");
}

}  // namespace
}  // namespace ardvane
