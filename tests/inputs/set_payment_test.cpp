#include "inputs/set_payment.h"

#include <gtest/gtest.h>

#include "engine/calendar.h"
#include "tests/test_regional.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::M;
using testing::MakeDebt;

// A store card of 1,850 at 24 % on its minimum (15, or 1.5 % of the balance, both below its
// 37.00 of interest a month: never paid off) beside a car loan that is paid off.
PlanDocument StoreCardPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 15);
  plan.Debts.AddDebt(MakeDebt("Car", 5000, 6, 300, 300));
  Debt card = MakeDebt("Store card", 1850, 24, 15, 15);
  card.MinimumPaymentPercent = Percent(1.5);
  card.Escrow = 12.5;
  card.UseMinimum = true;
  plan.Debts.AddDebt(card);
  return plan;
}

// The offer is the 60-month payment, 37 / (1 - 1.02^-60) = 53.2207, so 53.23, worded in the
// user's own format; taken, Use Minimum goes, every other field stays, and the plan
// calculated again pays the card off in those 60 months.
TEST(SetPaymentTest, TheOfferPaysTheDebtOffInItsMonths) {
  for (const RegionalSettings* regional : {&testing::kPointRegional, &testing::kCommaRegional}) {
    SCOPED_TRACE(regional->decimalSeparator);
    PlanDocument plan = StoreCardPlan();
    const PlanResults before = Calculate(plan, {}, {});
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, 0, *regional).has_value());  // paid off
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, 2, *regional).has_value());  // no such row
    EXPECT_FALSE(SetPaymentOfferFor(plan, before, -1, *regional).has_value());
    const std::optional<SetPaymentOffer> offer = SetPaymentOfferFor(plan, before, 1, *regional);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->payment, M(53.23));
    EXPECT_EQ(offer->months, 60);
    EXPECT_NE(offer->text.find("53" + regional->decimalSeparator + "23"), std::string::npos);

    const Debt was = plan.Debts.At(1);
    const Debt taken = DebtWithPaymentOffer(was, *offer);
    EXPECT_EQ(taken.CurrentPayment, 53.23);
    EXPECT_FALSE(taken.UseMinimum);
    Debt unchanged = taken;
    unchanged.CurrentPayment = was.CurrentPayment;
    unchanged.UseMinimum = was.UseMinimum;
    EXPECT_EQ(unchanged, was);

    plan.Debts.EditDebt(1, taken);
    const PlanResults after = Calculate(plan, {}, {});
    EXPECT_EQ(after.CurrentPlan.GetLoan(1)->PayoffMonths(), offer->months);
  }
}

}  // namespace
}  // namespace ardvane
