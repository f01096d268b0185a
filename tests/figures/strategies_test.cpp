#include "figures/strategies.h"

#include <gtest/gtest.h>

#include "tests/figures/test_plans.h"

namespace ardvane {
namespace {

using testing::CalculateWith;
using testing::kPointRegional;
using testing::M;
using testing::SampleParams;
using testing::SamplePlan;
using testing::TwoDebtPlan;

TEST(StrategiesTest, CaptionsFollowThePriorityList) {
  EXPECT_EQ(PriorityCaption(0), "Highest Interest Rate");
  EXPECT_EQ(PriorityCaption(3), "Lowest Interest Rate");
  EXPECT_EQ(PriorityCaption(6), "As Listed (Custom)");
  EXPECT_EQ(PriorityCaption(7), "Minimize Interest");
  EXPECT_EQ(PriorityCaption(8), "Maximize Wealth");
  EXPECT_EQ(PriorityCaption(9), "");
  EXPECT_EQ(PriorityCaption(-1), "");
}

// Each code's row is what the full calculation of the plan with that Priority shows.
TEST(StrategiesTest, EachSampleRowIsThePlanCalculatedWithThatPriority) {
  const PlanDocument sample = SamplePlan();
  const StrategyComparison c = CompareStrategies(sample, SampleParams(), AppSettings{});
  ASSERT_EQ(c.strategies.size(), 9u);
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    PlanDocument plan = sample;
    plan.Priority = PriorityFromCode(code);
    const PlanResults results = CalculateWith(plan, SampleParams());
    const PlanFigures expected = ComputePlanFigures(plan, results);
    const PriorityFigures& row = c.strategies[code];
    EXPECT_EQ(row.priority, code);
    EXPECT_EQ(row.proposed, expected.proposed) << code;
    EXPECT_EQ(row.interestSaved, expected.interestSaved) << code;
    EXPECT_EQ(row.annualReturnFraction, expected.annualReturnFraction) << code;
    EXPECT_EQ(row.investmentValue, expected.investmentValue) << code;
  }
  // The sample's own code is 0; Highest Interest Rate, Minimize Interest and Maximize Wealth
  // (every debt but the student loan and the medical bill is above the 6 % return, and those
  // two come last anyway) save the same.
  EXPECT_EQ(c.chosen, 0);
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    EXPECT_EQ(c.strategies[code].chosen, code == 0) << code;
    EXPECT_EQ(c.strategies[code].mostSaved, code == 0 || code == 7 || code == 8) << code;
  }
  ASSERT_FALSE(c.groups.empty());
  EXPECT_EQ(c.groups.front().front(), 0);
  EXPECT_NE(std::find(c.groups.front().begin(), c.groups.front().end(), 7), c.groups.front().end());
}

// Two debts: A (1,000 at 12 %) and B (2,000 at 6 %), both paying 100. Codes that pay A first
// (highest rate, lowest balance; equal payments keep the listed order, so highest and lowest
// payment and as listed do too; Maximize Wealth with a 0 % return holds back from no debt)
// give the worked 16 months and 147.7641 interest; highest balance and lowest rate pay B
// first and save less. With a 10 % return Maximize Wealth gives B nothing extra and stands
// apart.
TEST(StrategiesTest, CodesWithTheSameFiguresAreGroupedAndTheBestMarked) {
  PlanDocument plan = TwoDebtPlan();
  plan.Priority = PriorityFromCode(4);
  const StrategyComparison c = CompareStrategies(plan, {}, AppSettings{});
  const std::vector<std::vector<int>> groups = {{0, 2, 4, 5, 6, 7, 8}, {1, 3}};
  EXPECT_EQ(c.groups, groups);
  plan.ReturnRate = Percent(10);
  const StrategyComparison wealth = CompareStrategies(plan, {}, AppSettings{});
  const std::vector<std::vector<int>> apart = {{0, 2, 4, 5, 6, 7}, {1, 3}, {8}};
  EXPECT_EQ(wealth.groups, apart);
  EXPECT_GT(wealth.strategies[8].proposed.months, 16);
  plan.ReturnRate = Percent(0);
  EXPECT_EQ(c.chosen, 4);
  const PriorityFigures& first = c.strategies[0];
  EXPECT_EQ(first.proposed.months, 16);
  EXPECT_EQ(first.proposed.totalInterest, M(147.7641));
  EXPECT_EQ(first.interestSaved, M(23.7219));  // 171.486 - 147.7641
  EXPECT_LT(c.strategies[1].interestSaved, first.interestSaved);
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    EXPECT_EQ(c.strategies[code].mostSaved, code != 1 && code != 3) << code;
    EXPECT_EQ(c.strategies[code].chosen, code == 4) << code;
  }

  // A priority outside the list marks no row.
  plan.Priority = PriorityFromCode(12);
  const StrategyComparison none = CompareStrategies(plan, {}, AppSettings{});
  EXPECT_FALSE(none.chosen.has_value());
  for (const PriorityFigures& row : none.strategies) EXPECT_FALSE(row.chosen);
}

}  // namespace
}  // namespace ardvane
