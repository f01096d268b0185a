#pragma once
// Plans the figures tests share: the shipped sample and the worked examples.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/plan_calculation.h"
#include "planfiles/plan_file.h"
#include "tests/test_support.h"

namespace ardvane::testing {

// Consolidation and restructured terms permitted, as the sample installation has them.
inline PlanParameters SampleParams() {
  PlanParameters params;
  params.PermitConsolidate = true;
  params.PermitNegotiate = true;
  return params;
}

// The shipped sample: Maria Sample, six debts, Visa and the store card consolidated into a
// five-year loan at 7.5 %, a $995 setup fee with $295 down, $25 a month, $150 power payment
// and $1,000 each December, plan date 7 December 2026.
inline PlanDocument SamplePlan() {
  PlanDocument plan;
  const Status status = ReadData(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx", plan,
                                 PlanReadContext{kPointRegional, SampleParams(), 0});
  EXPECT_TRUE(status.ok()) << status.message();
  return plan;
}

// A 1,000 at 12 % paying 100 and B 2,000 at 6 % paying 100, minimums 50, monthly
// compounding, 15 January 2008, no fees: the current plan pays off in 22 months with 171.486
// interest, the proposed one (A first) in 16 months with 147.7641.
inline PlanDocument TwoDebtPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 100, 50));
  plan.Debts.AddDebt(MakeDebt("B", 2000, 6, 100, 50));
  return plan;
}

// The hopeless cards: Capital One $30,000 at 29.99 % paying $300 (its interest is $749.75 a
// month, so no payment of $300 ever pays it off), Discover $6,000 at 24.99 % paying $150 with
// a minimum of 2 % (at least $25), a personal loan $8,000 at 11 % paying $250; no power
// payment, plan date 7 December 2026. The plan puts the margin into Capital One and pays
// Discover its minimum, whose 2 % never covers the card's 2.08 % a month.
inline PlanDocument HopelessCardsPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.Debts.AddDebt(MakeDebt("Capital One", 30000, 29.99, 300, 300));
  Debt discover = MakeDebt("Discover", 6000, 24.99, 150, 25);
  discover.MinimumPaymentPercent = Percent(2);
  plan.Debts.AddDebt(discover);
  plan.Debts.AddDebt(MakeDebt("Personal loan", 8000, 11, 250, 250));
  return plan;
}

// A payment reduction of $150 a month on a card and a car loan: the plan takes longer and
// costs more interest. A $995 fee with $295 down is set, but the office charges nothing
// (minimum fee and down payment 0) below a saving of $500.
inline PlanDocument CostlierPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.Accelerators[0].Monthly = Money::FromUnits(-150);
  plan.SetupFee = Money::FromUnits(995);
  plan.DownPayment = Money::FromUnits(295);
  plan.ManagementFee = Money::FromUnits(25);
  plan.MinSavings = Money::FromUnits(500);
  plan.Debts.AddDebt(MakeDebt("Visa", 10000, 20, 400, 200));
  plan.Debts.AddDebt(MakeDebt("Car loan", 5000, 5, 200, 100));
  return plan;
}

// A small power payment that saves less than the $5,000 the office asks for its full fee:
// the minimum fee of $150 with $50 down applies instead of $995 with $295 down.
inline PlanDocument MinimumFeePlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.Accelerators[0].Monthly = Money::FromUnits(20);
  plan.SetupFee = Money::FromUnits(995);
  plan.DownPayment = Money::FromUnits(295);
  plan.MinSetupFee = Money::FromUnits(150);
  plan.MinDownPayment = Money::FromUnits(50);
  plan.MinSavings = Money::FromUnits(5000);
  plan.Debts.AddDebt(MakeDebt("Visa", 3000, 18.9, 150, 60));
  plan.Debts.AddDebt(MakeDebt("Car loan", 6000, 7, 250, 250));
  return plan;
}

// Plan date 15 January 2024; A 1,000 at 12 % paying 5 and B 100 at 0 % paying 50, no
// minimums, monthly compounding, no fees. Today B is paid off in 2 months and A never: at 1 %
// a month its balance after n months is 1,000 x 1.01^n - 5 x (1.01^n - 1) / 0.01. The plan
// pours the whole 55 into A, paid off in 21 months, then into B, paid off in the 22nd, so both
// plans are compared over 22 months: A then owes 1,244.7155 - 122.3577 = 1,122.3577 today,
// and its interest over them is that growth plus its 22 payments of 5, 232.3577.
inline PlanDocument NeverPaidOffTodayPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5));
  plan.Debts.AddDebt(MakeDebt("B", 100, 0, 50));
  return plan;
}

inline PlanResults CalculateWith(const PlanDocument& plan, const PlanParameters& params = {}) {
  return Calculate(plan, params, AppSettings{});
}

}  // namespace ardvane::testing
