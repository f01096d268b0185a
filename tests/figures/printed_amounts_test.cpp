#include "figures/printed_amounts.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::M;

// The sample's total interests, 145,660.1149 today and 79,366.3481 on the plan, print as
// $145,660.11 and $79,366.35; the page's difference is 66,293.76, not the 66,293.77 that the
// unrounded 66,293.7668 prints as.
TEST(PrintedAmountsTest, ADifferenceIsThatOfTheAmountsAsPrinted) {
  EXPECT_EQ(PrintedMoney(M(145660.1149)), M(145660.11));
  EXPECT_EQ(PrintedMoney(M(79366.3481)), M(79366.35));
  EXPECT_EQ(PrintedDifference(M(145660.1149), M(79366.3481)), M(66293.76));
  EXPECT_EQ(PrintedDifference(M(79366.3481), M(145660.1149)), M(-66293.76));
}

// Money prints half away from zero on its exact digits, and with 10 significant digits at
// most: 123,456,789.125 has room for one decimal, 1,234,567,890.5 for none.
TEST(PrintedAmountsTest, AmountsRoundAsTheyPrint) {
  EXPECT_EQ(PrintedMoney(M(0.005)), M(0.01));
  EXPECT_EQ(PrintedMoney(M(-0.005)), M(-0.01));
  EXPECT_EQ(PrintedMoney(M(-0.0049)), Money());
  EXPECT_EQ(PrintedMoney(M(2.675)), M(2.68));
  EXPECT_EQ(PrintedMoney(M(123456789.125)), M(123456789.1));
  EXPECT_EQ(PrintedMoney(M(1234567890.5)), M(1234567891));
  // Rates: the sample's debts paid off at 23.0665 % against the loan's 7.5 % print as
  // 23.067 % and 7.500 %, 15.567 % apart.
  EXPECT_DOUBLE_EQ(PrintedPercent(247525.5905 / 10730.95, 3, 10), 23.067);
  EXPECT_DOUBLE_EQ(PrintedPercent(2.0005, 3, 10), 2.001);
  EXPECT_DOUBLE_EQ(PrintedPercent(-1.23456, 2, 5), -1.23);
}

// The total of a column is the sum of its rows as printed: 1.005 + 1.005 is 2.01 unrounded,
// but the page shows $1.01 twice, so its total is $2.02.
TEST(PrintedAmountsTest, AColumnAddsUpToItsTotal) {
  const FootedColumn pennies = FootColumn({M(1.005), M(1.005)});
  EXPECT_EQ(pennies.rows, (std::vector<Money>{M(1.01), M(1.01)}));
  EXPECT_EQ(pennies.total, M(2.02));
  // The sample's margin: 25 over the minimums, 150 power payment, nothing negotiated, the
  // new loan 73.2422 cheaper than the cards, the 25 fee taken off.
  const FootedColumn margin = FootColumn({M(25), M(150), Money(), M(73.2422), M(-25)});
  EXPECT_EQ(margin.rows, (std::vector<Money>{M(25), M(150), Money(), M(73.24), M(-25)}));
  EXPECT_EQ(margin.total, M(223.24));
  EXPECT_EQ(FootColumn({}).total, Money());
}

}  // namespace
}  // namespace ardvane
