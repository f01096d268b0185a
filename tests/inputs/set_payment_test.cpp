#include "inputs/set_payment.h"

#include <gtest/gtest.h>

#include "engine/calendar.h"
#include "tests/test_regional.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Debt;
using testing::M;

// A store card of 1,850 at 24 % on its minimum (15, or 1.5 % of the balance, both below its
// 37.00 of interest a month: never paid off) beside a car loan that is paid off, typed with
// `regional`'s decimal separator.
PlanDocument StoreCardPlan(const RegionalSettings& regional) {
  const std::string point = regional.decimalSeparator;
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 15);
  plan.Debts.AddDebt(Debt("Car", "5000", "6", "300", "300"), regional);
  DebtFields card = Debt("Store card", "1850", "24", "15", "15");
  card.MinimumPaymentPercent = "1" + point + "5";
  card.Escrow = "12" + point + "5";
  card.UseMinimum = true;
  plan.Debts.AddDebt(card, regional);
  return plan;
}

// The offer is the 60-month payment, 37 / (1 - 1.02^-60) = 53.2207, so 53.23; taken, it is
// written in the plan's own number text for each decimal separator, Use Minimum goes, every
// other cell stays, and the plan calculated again pays the card off in those 60 months.
TEST(SetPaymentTest, TheOfferPaysTheDebtOffInItsMonthsInEitherDecimalSeparator) {
  for (const RegionalSettings* regional : {&testing::kPointRegional, &testing::kCommaRegional}) {
    SCOPED_TRACE(regional->decimalSeparator);
    PlanDocument plan = StoreCardPlan(*regional);
    const PlanResults before = Calculate(plan, {}, {}, *regional);
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, 0, *regional).has_value());  // paid off
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, 2, *regional).has_value());  // no such row
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, -1, *regional).has_value());
    const std::optional<SetPaymentOffer> offer = SetPaymentOfferFor(plan, before, 1, *regional);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->payment, M(53.23));
    EXPECT_EQ(offer->months, 60);

    const DebtFields was = plan.Debts.Row(1);
    const DebtFields fields = SetPaymentFields(plan.Debts, *offer, *regional);
    EXPECT_EQ(fields.CurrentPayment, "53" + regional->decimalSeparator + "23");
    EXPECT_FALSE(fields.UseMinimum);
    EXPECT_EQ(fields.Name, was.Name);
    EXPECT_EQ(fields.MinimumPaymentAmount, was.MinimumPaymentAmount);
    EXPECT_EQ(fields.MinimumPaymentPercent, was.MinimumPaymentPercent);
    EXPECT_EQ(fields.Escrow, was.Escrow);
    EXPECT_EQ(fields.CompoundingPeriod, was.CompoundingPeriod);

    plan.Debts.EditDebt(1, fields);
    const PlanResults after = Calculate(plan, {}, {}, *regional);
    EXPECT_EQ(after.CurrentPlan.GetLoan(1)->PayoffMonths(), offer->months);
  }
}

}  // namespace
}  // namespace ardvane
