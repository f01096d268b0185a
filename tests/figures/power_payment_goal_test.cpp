#include "figures/power_payment_goal.h"

#include <gtest/gtest.h>

#include "engine/plan_calculation.h"
#include "tests/figures/test_plans.h"

namespace ardvane {
namespace {

using testing::CalculateWith;
using testing::kPointRegional;
using testing::M;
using testing::MakeDebt;
using testing::SampleParams;
using testing::SamplePlan;

// The proposed plan's figures with a monthly power payment of `monthly`.
DebtFreeFigures ProposedWith(PlanDocument plan, const PlanParameters& params, Money monthly) {
  plan.Accelerators[0].Monthly = monthly;
  const PlanResults results = CalculateWith(plan, params);
  return ComputeDebtFreeFigures(plan, results, results.ProposedPlan);
}

// The answer's own check, by calculations of its own: the plan is debt free by the goal with
// the amount found and not with a cent less, and the figures returned are the plan's.
void ExpectSmallestToTheCent(const PlanDocument& plan, const PlanParameters& params,
                             YearMonth goal) {
  const PowerPaymentGoal found = FindPowerPaymentForGoal(plan, params, AppSettings{}, goal);
  ASSERT_TRUE(found.attainable);
  EXPECT_EQ(found.powerPayment.Count() % 100, 0) << "whole cents";
  const DebtFreeFigures with = ProposedWith(plan, params, found.powerPayment);
  EXPECT_TRUE(DebtFreeBy(with, goal));
  EXPECT_EQ(found.proposed, with);
  ASSERT_GT(found.powerPayment, Money());
  EXPECT_FALSE(DebtFreeBy(ProposedWith(plan, params, found.powerPayment - M(0.01)), goal));
}

TEST(PowerPaymentGoalTest, DebtFreeByComparesYearAndMonth) {
  DebtFreeFigures plan;
  plan.date = EncodeDate(2030, 6, 30);
  EXPECT_TRUE(DebtFreeBy(plan, {2030, 6}));
  EXPECT_TRUE(DebtFreeBy(plan, {2031, 1}));
  EXPECT_FALSE(DebtFreeBy(plan, {2030, 5}));
  EXPECT_FALSE(DebtFreeBy(plan, {2029, 12}));
  plan.neverPaidOff = {2};  // whatever the date says
  EXPECT_FALSE(DebtFreeBy(plan, {2031, 1}));
  EXPECT_TRUE(DebtFreeBy(DebtFreeFigures{}, {1900, 1}));  // nothing to pay
}

// 1,200 at no interest paid 100 a month from 15 January 2008 is paid off in 12 months, on
// 15 January 2009. To be debt free in July 2008 it must go in 6 payments: 200 a month, a
// power payment of 100.00; 99.99 leaves 1,200 - 6 x 199.99 = 0.06 for August. By December
// 2008 it takes 11 payments: 11 x 109.10 = 1,200.10 is enough, 11 x 109.09 = 1,199.99 not.
TEST(PowerPaymentGoalTest, HandWorkedZeroRateDebt) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Debts.AddDebt(MakeDebt("Card", 1200, 0, 100, 100));
  const PowerPaymentGoal found = FindPowerPaymentForGoal(plan, {}, AppSettings{}, {2008, 7});
  ASSERT_TRUE(found.attainable);
  EXPECT_EQ(found.powerPayment, M(100));
  EXPECT_EQ(found.proposed.months, 6);
  EXPECT_EQ(found.proposed.date, EncodeDate(2008, 7, 15));
  ExpectSmallestToTheCent(plan, {}, {2008, 7});

  const PowerPaymentGoal december = FindPowerPaymentForGoal(plan, {}, AppSettings{}, {2008, 12});
  EXPECT_EQ(december.powerPayment, M(9.10));
  EXPECT_EQ(december.proposed.months, 11);

  // Debt free by January 2009 without a power payment.
  const PowerPaymentGoal none = FindPowerPaymentForGoal(plan, {}, AppSettings{}, {2009, 1});
  EXPECT_TRUE(none.attainable);
  EXPECT_EQ(none.powerPayment, Money());
  EXPECT_EQ(none.proposed.months, 12);

  // Nothing pays a debt off in the plan month itself.
  const PowerPaymentGoal never = FindPowerPaymentForGoal(plan, {}, AppSettings{}, {2008, 1});
  EXPECT_FALSE(never.attainable);
  EXPECT_EQ(never.powerPayment, Money());
  EXPECT_EQ(never.proposed, DebtFreeFigures{});
}

// The sample's fees follow the saving and its new loan finances them: two years sooner than
// it now is debt free, and again with the December lump sum turned into a 1,000 reduction.
TEST(PowerPaymentGoalTest, SampleToTheCentWithPositiveAndNegativeYearlyPayments) {
  PlanDocument plan = SamplePlan();
  const DebtFreeFigures now = ProposedWith(plan, SampleParams(), plan.Accelerators[0].Monthly);
  ASSERT_NE(now.date, 0);
  YearMonth goal = YearMonthOf(now.date);
  goal.year -= 2;
  ExpectSmallestToTheCent(plan, SampleParams(), goal);

  plan.Accelerators[0].Annual = M(-1000);
  ExpectSmallestToTheCent(plan, SampleParams(), goal);
}

}  // namespace
}  // namespace ardvane
