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
  const ReadStatus status = ReadData(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx", plan,
                                     PlanReadContext{kPointRegional, SampleParams(), 0});
  EXPECT_TRUE(status.ok()) << status.error;
  return plan;
}

// A 1,000 at 12 % paying 100 and B 2,000 at 6 % paying 100, minimums 50, monthly
// compounding, 15 January 2008, no fees: the current plan pays off in 22 months with 171.486
// interest, the proposed one (A first) in 16 months with 147.7641.
inline PlanDocument TwoDebtPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Debts.AddDebt(Debt("A", "1000", "12", "100", "50"), kPointRegional);
  plan.Debts.AddDebt(Debt("B", "2000", "6", "100", "50"), kPointRegional);
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
  plan.Debts.AddDebt(Debt("A", "1000", "12", "5"), kPointRegional);
  plan.Debts.AddDebt(Debt("B", "100", "0", "50"), kPointRegional);
  return plan;
}

inline PlanResults CalculateWith(const PlanDocument& plan, const PlanParameters& params = {}) {
  return Calculate(plan, params, AppSettings{}, kPointRegional);
}

}  // namespace ardvane::testing
