#include "engine/calculation_limits.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(CalculationLimitsTest, APlanAtALimitPassesAndOneDebtMoreIsRefusedNamingBoth) {
  for (const DebtsLimit& limit :
       {kCalculationLimit, kComparisonLimit, kPowerPaymentSearchLimit, kWindowLimit}) {
    EXPECT_EQ(DebtsRefusal(0, limit), "") << limit.work;
    EXPECT_EQ(DebtsRefusal(limit.mostDebts, limit), "") << limit.work;
    const std::string refusal = DebtsRefusal(limit.mostDebts + 1, limit);
    EXPECT_EQ(refusal.rfind(limit.notDone, 0), 0u) << refusal;
    EXPECT_NE(refusal.find(" debts, more than the " + GroupedCount(limit.mostDebts) + " " +
                           limit.work + " can hold."),
              std::string::npos)
        << refusal;
  }
  EXPECT_EQ(DebtsRefusal(28'420, kCalculationLimit),
            "The plan was not calculated: the plan has 28,420 debts, more than the 17,000 a "
            "calculation can hold. Split the plan into smaller ones.");
}

// The work that calculates more often may hold fewer debts, never more; the window may search
// for the power payment and compare the strategies at every edit.
TEST(CalculationLimitsTest, MoreCalculationsHoldFewerDebts) {
  EXPECT_LE(kPowerPaymentSearchLimit.mostDebts, kComparisonLimit.mostDebts);
  EXPECT_LE(kComparisonLimit.mostDebts, kCalculationLimit.mostDebts);
  EXPECT_LE(kWindowLimit.mostDebts, kPowerPaymentSearchLimit.mostDebts);
  // The plan of 17,000 debts never paid off that the hostile plan checks calculate.
  EXPECT_GE(kCalculationLimit.mostDebts, 17'000);
}

TEST(CalculationLimitsTest, CountsAreGroupedByThousands) {
  const std::pair<long long, const char*> cases[] = {
      {0, "0"},          {999, "999"},           {1000, "1,000"},
      {17000, "17,000"}, {1234567, "1,234,567"}, {-999, "-999"},
      {-1000, "-1,000"}, {-123456, "-123,456"}};
  for (const auto& [count, text] : cases) EXPECT_EQ(GroupedCount(count), text) << count;
}

}  // namespace
}  // namespace ardvane
