#include "figures/amount_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::kCommaRegional;
using testing::kPointRegional;

struct FormatCase {
  double value;
  int decimals;
  AmountKind maskType;
  std::string expected;
};

// The display faces of the field's documented examples, in a United States locale.
TEST(FormatAmountTest, DisplayFaces) {
  const std::vector<FormatCase> cases = {
      {1234.5, 2, kCurrencyAmount, "$1,234.50"},
      {0.05, 2, kCurrencyAmount, "$0.05"},
      {0, 2, kCurrencyAmount, "$0.00"},
      {-0.004, 2, kCurrencyAmount, "$0.00"},        // rounds to 0 at 2 decimals: no sign
      {-1234.5, 2, kCurrencyAmount, "-$1,234.50"},  // the sign before the symbol, never "( )"
      {2500, 0, kCurrencyAmount, "$2,500"},
      {999, 0, kCurrencyAmount, "$999"},
      {1000000, 0, kCurrencyAmount, "$1,000,000"},
      {999999999, 2, kCurrencyAmount, "$999,999,999.00"},
      {7.5, 3, kPercentAmount, "7.500%"},
      {6, 2, kPercentAmount, "6.00%"},
      {1234.5, 1, kPercentAmount, "1,234.5%"},
      {30, 0, kNumberAmount, "30"},
      {1234, 0, kNumberAmount, "1,234"},
      {-12, 0, kNumberAmount, "-12"},
      {1234.5, 2, kUngroupedAmount, "1234.50"},
      {-5, 0, kUngroupedAmount, "-5"},
      {0.125, 3, kUngroupedAmount, "0.125"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatAmount(c.value, c.decimals, c.maskType, true, kPointRegional), c.expected)
        << c.value << " with " << c.decimals << " decimals, kind " << c.maskType;
  }
}

TEST(FormatAmountTest, CommaLocaleUsesItsSymbolsButKeepsTheSignFirst) {
  EXPECT_EQ(FormatAmount(-1234.5, 2, kCurrencyAmount, true, kCommaRegional), "-€1.234,50");
  EXPECT_EQ(FormatAmount(1234.5, 2, kPercentAmount, true, kCommaRegional), "1.234,50%");
  EXPECT_EQ(FormatAmount(1234.5, 2, kUngroupedAmount, true, kCommaRegional), "1234,50");
  // Monetary and plain separators are taken each for its own kind.
  RegionalSettings mixed = kPointRegional;
  mixed.monetaryThousandsSeparator = " ";
  mixed.monetaryDecimalSeparator = ",";
  EXPECT_EQ(FormatAmount(1234.5, 2, kCurrencyAmount, true, mixed), "$1 234,50");
  EXPECT_EQ(FormatAmount(1234.5, 2, kNumberAmount, true, mixed), "1,234.50");
}

TEST(FormatAmountTest, ShowZeroOffHidesOnlyWhatRoundsToZero) {
  EXPECT_EQ(FormatAmount(0, 2, kCurrencyAmount, false, kPointRegional), "");
  EXPECT_EQ(FormatAmount(0.004, 2, kCurrencyAmount, false, kPointRegional), "");
  EXPECT_EQ(FormatAmount(0.005, 3, kPercentAmount, false, kPointRegional), "0.005%");
}

TEST(ParseAmountTest, NumbersAndUnfinishedNumbers) {
  struct Case {
    std::string text;
    double expected;
  };
  const std::vector<Case> numbers = {
      {"", 0},    {"-", 0},      {".", 0},       {"-.", 0},     {"12.5", 12.5},
      {"-3", -3}, {".5", 0.5},   {"5.", 5},      {"1e3", 1000}, {"1.5E-2", 0.015},
      {" 7 ", 7}, {"1e-400", 0}, {"0.0e999", 0},
  };
  for (const Case& c : numbers) {
    const std::optional<double> value = ParseAmount(c.text, "-");
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.expected) << c.text;
  }
  for (const std::string text :
       {"1,234", "$5", "5%", "abc", "1.2.3", "--5", "1e", "e5", "0x10", "nan", "inf", "1 000"}) {
    EXPECT_FALSE(ParseAmount(text, "-").has_value()) << text;
  }
}

TEST(ParseAmountTest, TooLargeNumbersComeBackInRange) {
  const std::string manyDigits(400, '9');
  EXPECT_EQ(ParseAmount(manyDigits, "-"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount("-" + manyDigits, "-"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount("1e400", "-"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount("0.00001e99999999999999999999", "-"),
            std::numeric_limits<double>::infinity());
  EXPECT_EQ(LimitAndRound(*ParseAmount(manyDigits, "-"), -99999, 99999, 2), 99999);
  EXPECT_EQ(LimitAndRound(*ParseAmount(manyDigits, "-"), 0, 0, 2), 9999999999999.99);
}

TEST(ParseAmountTest, LocaleNegativeSign) {
  const std::string minus = "\u2212";
  EXPECT_EQ(ParseAmount(minus + "5.5", minus), -5.5);
  EXPECT_EQ(ParseAmount(minus, minus), 0);
  EXPECT_EQ(ParseAmount(minus + ".", minus), 0);
  EXPECT_EQ(ParseAmount("1e" + minus + "2", minus), 0.01);
  EXPECT_TRUE(IsCompleteAmount(minus + "5", minus));
  for (const std::string& text :
       std::vector<std::string>{"", " ", minus, ".", minus + ".", "-", "x"}) {
    EXPECT_FALSE(IsCompleteAmount(text, minus)) << text;
  }
}

TEST(LimitAndRoundTest, LimitsThenRoundsHalfToEven) {
  struct Case {
    double value, minimum, maximum;
    int decimals;
    double expected;
  };
  const std::vector<Case> cases = {
      {123.456, 0, 0, 2, 123.46},
      {150000, -99999, 99999, 2, 99999},
      {-150000, -99999, 99999, 2, -99999},
      {-5, 0, 100, 2, 0},
      {-5, 0, 0, 2, -5},  // equal limits: no limit at all
      {2.5, 0, 0, 0, 2},
      {3.5, 0, 0, 0, 4},
      {0.125, 0, 0, 2, 0.12},
      {0.375, 0, 0, 2, 0.38},
      {1e20, 0, 0, 2, 9999999999999.99},
      {-1e20, 0, 0, 0, -999999999999999},
      {1e20, 0, 1e18, 0, 999999999999999},  // limits beyond what 15 digits hold
      {7.12345, 0, 0, 3, 7.123},
      {1.5, 0, 0, 99, 1.5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LimitAndRound(c.value, c.minimum, c.maximum, c.decimals), c.expected)
        << c.value << " in " << c.minimum << ".." << c.maximum << " at " << c.decimals;
  }
  EXPECT_EQ(LimitAndRound(std::nan(""), -1, 1, 2), 0);
  EXPECT_FALSE(std::signbit(LimitAndRound(-0.004, 0, 0, 2)));
}

TEST(AcceptsKeyTest, KeyFilter) {
  struct Case {
    std::string text, selected, key;
    bool decimalAllowed, negativeAllowed, expected;
  };
  const std::vector<Case> cases = {
      {"12", "", "5", false, false, true},
      {"12", "", "\b", false, false, true},
      {"12", "", ".", true, false, true},
      {"1.2", "", ".", true, false, false},  // a second point
      {"1.2", "1.2", ".", true, false, true},
      {"1.2", ".", ".", true, false, true},
      {"12", "", ".", false, false, false},  // no decimals, no point
      {"", "", "-", false, true, true},
      {"", "", "-", false, false, false},  // a field without limits
      {"5", "", "-", false, true, false},  // after a digit
      {"5", "5", "-", false, true, true},  // the whole text selected
      {"-5", "-", "-", false, true, true},
      {"-56", "5", "-", false, true, false},
      {"1", "", ",", true, true, false},
      {"1", "", "a", true, true, false},
      {"1", "", "$", true, true, false},
      {"1", "", " ", true, true, false},
      {"1", "", "\x16", true, true, false},  // Ctrl+V's character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptsKey(c.text, c.selected, c.key, c.decimalAllowed, c.negativeAllowed, "-"),
              c.expected)
        << "'" << c.key << "' into '" << c.text << "' selected '" << c.selected << "'";
  }
  const std::string minus = "\u2212";
  EXPECT_TRUE(AcceptsKey("", "", minus, true, true, minus));
  EXPECT_FALSE(AcceptsKey("", "", "-", true, true, minus));
  EXPECT_TRUE(AcceptsKey(minus + "5", minus, minus, true, true, minus));
}

TEST(PlainAmountTest, ShortestFormThatReadsBack) {
  EXPECT_EQ(PlainAmount(1500, "-"), "1500");
  EXPECT_EQ(PlainAmount(7.5, "-"), "7.5");
  EXPECT_EQ(PlainAmount(0.125, "-"), "0.125");
  EXPECT_EQ(PlainAmount(1234.5, "-"), "1234.5");
  EXPECT_EQ(PlainAmount(0.1 + 0.2, "-"), "0.3");  // 15 significant digits
  EXPECT_EQ(PlainAmount(-2.25, "\u2212"), "\u22122.25");
  EXPECT_EQ(PlainAmount(std::nan(""), "-"), "0");
  // Whatever a field can hold, its typing face reads back as the same value.
  for (const int decimals : {0, 2, 3, 10}) {
    for (const double value :
         {0.0, 999999999.99, -99999.0, 123.456, 0.0001, 1e20, -1e-7, 7.125, 12345678.901234}) {
      const double held = LimitAndRound(value, 0, 0, decimals);
      for (const std::string sign : {"-", "\u2212"}) {
        EXPECT_EQ(LimitAndRound(*ParseAmount(PlainAmount(held, sign), sign), 0, 0, decimals), held)
            << value << " at " << decimals << " shown as " << PlainAmount(held, sign);
      }
    }
  }
}

}  // namespace
}  // namespace ardvane
