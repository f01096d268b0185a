#include "figures/payoff_payment.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/number_text.h"
#include "figures/display_formats.h"
#include "tests/figures/test_plans.h"

namespace ardvane {
namespace {

using testing::CalculateWith;
using testing::kPointRegional;
using testing::M;
using testing::MakeDebt;

// 10,000 at 24 % a year with a minimum of `percent` % (1 unless said), paying `payment` a
// month from 15 January 2008, compounding by `code`, beside a small debt that is paid off.
PlanDocument CardPlan(double payment, CompoundingPeriod code, bool useMinimum = false,
                      double percent = 1) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  Debt card = MakeDebt("Card", 10000, 24, payment, 150);
  card.MinimumPaymentPercent = Percent(percent);
  card.Compounding = code;
  card.UseMinimum = useMinimum;
  card.Escrow = 80;
  plan.Debts.AddDebt(card);
  plan.Debts.AddDebt(MakeDebt("Car", 1000, 6, 100, 100));
  return plan;
}

// The card's payoff months in the current plan with this payment: 0 when never paid off.
int CurrentPayoffMonths(Money payment, CompoundingPeriod code, double percent = 1) {
  const PlanResults results = CalculateWith(
      CardPlan(GeneralValue(static_cast<double>(payment.Units())), code, false, percent));
  return results.CurrentPlan.GetLoan(0)->PayoffMonths();
}

// The level payment that repays `balance` in `months` end-of-month payments at `rate` a
// month: the annuity formula, with no rounding.
double Annuity(double balance, long double rate, int months) {
  return static_cast<double>(balance * rate / (1 - std::pow(1 + rate, -months)));
}

// The card pays 150 a month against about 200 of interest: never paid off. The payments that
// do pay it off are the annuity payments over 1,080 and 60 months at the card's effective
// monthly rate, to within the cent that monthly rounding of interest can move them; each is
// then checked by the plan calculation itself, with the payment typed into the debt: it pays
// off in time and a cent less does not.
TEST(PayoffPaymentTest, BelowItsInterestWithDailyAndAnnualCompounding) {
  const struct {
    CompoundingPeriod code;
    long double monthlyRate;
  } cases[] = {
      {CompoundingPeriod::Daily,
       std::pow(1 + 0.02L / 30, 30) - 1},  // daily: a day is a thirtieth of a month
      {CompoundingPeriod::Annually, std::pow(1.24L, 1 / 12.0L) - 1},  // annually
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(CompoundingCode(c.code));
    const PlanResults results = CalculateWith(CardPlan(150, c.code));
    const std::optional<PayoffPayments> p = PayoffPaymentsFor(results, 0);
    ASSERT_TRUE(p.has_value());
    EXPECT_NEAR(p->any.Units(), Annuity(10000, c.monthlyRate, 1080), 0.0101);
    EXPECT_NEAR(p->within60Months.Units(), Annuity(10000, c.monthlyRate, 60), 0.0101);
    EXPECT_EQ(p->any.Count() % 100, 0);
    EXPECT_EQ(p->within60Months.Count() % 100, 0);

    const int any = CurrentPayoffMonths(p->any, c.code);
    EXPECT_GT(any, 0);
    // The months said beside each payment are those the plan calculation takes with it.
    EXPECT_EQ(p->anyMonths, any);
    EXPECT_EQ(CurrentPayoffMonths(p->any - M(0.01), c.code), 0);
    const int quick = CurrentPayoffMonths(p->within60Months, c.code);
    EXPECT_GT(quick, 0);
    EXPECT_LE(quick, 60);
    EXPECT_EQ(p->within60MonthsMonths, quick);
    EXPECT_GT(CurrentPayoffMonths(p->within60Months - M(0.01), c.code), 60);

    EXPECT_FALSE(PayoffPaymentsFor(results, 1).has_value());  // the car is paid off
    EXPECT_FALSE(PayoffPaymentsFor(results, 2).has_value());  // no such loan
  }
}

// A debt on its minimum of 150 is never paid off either; the payment that pays it off leaves
// the minimum aside and is the one found for the same debt paying 150 without it.
TEST(PayoffPaymentTest, UseMinimumIsLeftOff) {
  const PlanResults onMinimum = CalculateWith(CardPlan(900, CompoundingPeriod::Monthly, true));
  const PlanResults paying = CalculateWith(CardPlan(150, CompoundingPeriod::Monthly));
  const std::optional<PayoffPayments> a = PayoffPaymentsFor(onMinimum, 0);
  const std::optional<PayoffPayments> b = PayoffPaymentsFor(paying, 0);
  ASSERT_TRUE(a.has_value());
  ASSERT_TRUE(b.has_value());
  EXPECT_EQ(a->any, b->any);
  EXPECT_EQ(a->within60Months, b->within60Months);
  // Monthly at 2 %: 60 payments of 10,000 x 0.02 / (1 - 1.02^-60) = 287.6797 -> 287.68.
  EXPECT_EQ(b->within60Months, M(287.68));
}

// A minimum of 2.1 % a month against 2 % of interest shrinks the balance by about 0.1 % a
// month: 10,000 still owes about 3,400 after 1,080 months, whose 2.1 % is above the 50 paid.
// The minimum carries most of the early payments, so a much smaller payment than the
// annuity's finishes the debt in time; the plan calculation confirms it to the cent.
TEST(PayoffPaymentTest, TheMinimumPercentStillApplies) {
  const PlanResults results = CalculateWith(CardPlan(50, CompoundingPeriod::Monthly, false, 2.1));
  ASSERT_EQ(results.CurrentPlan.GetLoan(0)->PayoffMonths(), 0);
  const std::optional<PayoffPayments> p = PayoffPaymentsFor(results, 0);
  ASSERT_TRUE(p.has_value());
  EXPECT_LT(p->any, M(200));  // the interest alone is 200 a month at first
  EXPECT_GT(CurrentPayoffMonths(p->any, CompoundingPeriod::Monthly, 2.1), 0);
  EXPECT_EQ(CurrentPayoffMonths(p->any - M(0.01), CompoundingPeriod::Monthly, 2.1), 0);
  EXPECT_LE(CurrentPayoffMonths(p->within60Months, CompoundingPeriod::Monthly, 2.1), 60);
  EXPECT_GT(CurrentPayoffMonths(p->within60Months - M(0.01), CompoundingPeriod::Monthly, 2.1), 60);
}

// The window's sentence, each payment with its months. 10,000 at 2 % a month paying 287.68
// is the 60-month annuity (see UseMinimumIsLeftOff); when one payment does both, it is said once.
TEST(PayoffPaymentTest, TheTextSaysHowLongEachPaymentTakes) {
  const PlanResults results = CalculateWith(CardPlan(150, CompoundingPeriod::Monthly));
  const std::optional<PayoffPayments> p = PayoffPaymentsFor(results, 0);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(PayoffPaymentsText(*p, kPointRegional),
            "A payment of " + FormatMoney(p->any, 2, kPointRegional) +
                " a month pays this debt off in " + std::to_string(p->anyMonths) +
                " months; $287.68 a month pays it off in 60 months.");
  PayoffPayments same{M(287.68), M(287.68), 60, 60};
  EXPECT_EQ(PayoffPaymentsText(same, kPointRegional),
            "A payment of $287.68 a month pays this debt off in 60 months.");
  same.anyMonths = 1;
  EXPECT_EQ(PayoffPaymentsText(same, kPointRegional),
            "A payment of $287.68 a month pays this debt off in 1 month.");
}

}  // namespace
}  // namespace ardvane
