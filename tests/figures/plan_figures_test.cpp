#include "figures/plan_figures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "planfiles/plan_file.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::kPointRegional;
using testing::M;
using testing::MakeDebt;

const std::filesystem::path kDist = ARDVANE_DIST_DIR;

PlanParameters Permitting(bool consolidate, bool negotiate = false) {
  PlanParameters params;
  params.PermitConsolidate = consolidate;
  params.PermitNegotiate = negotiate;
  return params;
}

// The two-debt example (A 1,000 at 12 % paying 100, B 2,000 at 6 % paying 100, minimums
// 50, 15 January 2008), no fees and no consolidation.
PlanDocument TwoDebtPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 100, 50));
  plan.Debts.AddDebt(MakeDebt("B", 2000, 6, 100, 50));
  return plan;
}

struct Calculated {
  PlanDocument plan;
  PlanResults results;
  PlanFigures figures;
};

Calculated CalculateFigures(PlanDocument plan, const PlanParameters& params = {}) {
  PlanResults results = Calculate(plan, params, AppSettings{});
  PlanFigures figures = ComputePlanFigures(plan, results);
  return {std::move(plan), std::move(results), std::move(figures)};
}

// The shipped sample: Maria Sample, six debts, Visa and the store card consolidated into a
// five-year loan at 7.5 %, a $995 setup fee with $295 down, $25 a month, $150 power payment.
Calculated Sample(const std::function<void(PlanDocument&)>& change = {}) {
  PlanDocument plan;
  const PlanParameters params = Permitting(true, true);
  const Status status =
      ReadData(kDist / "Sample.bvx", plan, PlanReadContext{kPointRegional, params, 0});
  EXPECT_TRUE(status.ok()) << status.message();
  if (change) change(plan);
  return CalculateFigures(std::move(plan), params);
}

// The two-debt example, worked by hand in the engine's tests: A is paid off in month 7
// (current: 11), B in month 16 (current: 22); interest 171.486 today, 147.7641 on the plan.
TEST(PlanFiguresTest, TwoDebtExampleWithoutConsolidation) {
  const PlanFigures f = CalculateFigures(TwoDebtPlan()).figures;
  EXPECT_EQ(f.current.months, 22);
  EXPECT_EQ(f.current.date, EncodeDate(2009, 11, 15));
  EXPECT_EQ(f.proposed.months, 16);
  EXPECT_EQ(f.proposed.date, EncodeDate(2009, 5, 15));
  EXPECT_EQ(f.laterDebtFreeDate, EncodeDate(2009, 11, 15));
  EXPECT_TRUE(f.current.DebtFree());
  EXPECT_TRUE(f.proposed.DebtFree());
  EXPECT_EQ(f.interestSaved, M(23.7219));  // 171.486 - 147.7641
  EXPECT_EQ(f.monthlyInterestSaving, M(1.4826));  // 23.7219 / 16
  // 22 months of the 200 budget less the 3,000 principal and 147.7641 interest.
  EXPECT_EQ(f.investmentValue, M(1252.2359));
  EXPECT_EQ(f.annualReturnFraction, 0);  // no fees

  // Both pay 100 + 100 today and under the plan; the minimums are 50 + 50.
  const StrategyFigures& s = f.strategy;
  EXPECT_EQ(s.currentPayment, M(200));
  EXPECT_EQ(s.proposedPayment, M(200));
  EXPECT_EQ(s.proposedMinimum, M(100));
  EXPECT_EQ(s.margin, M(100));
  EXPECT_EQ(s.actualMargin, M(100));
  EXPECT_EQ(s.currentExcess, M(100));
  EXPECT_EQ(s.paymentIncrease, Money());
  EXPECT_EQ(s.newLoanSavings, Money());
  EXPECT_EQ(s.monthsOverBudget, 0);
  EXPECT_EQ(f.currentDebtsPayment, M(200));
  EXPECT_EQ(f.currentDebtsBalance, M(3000));

  // Nothing to finance: no loan rows in the contract, nothing left of a fee of 0.
  EXPECT_FALSE(f.contract.financed);
  EXPECT_EQ(f.contract.unpaidSetupFee, Money());
  EXPECT_EQ(f.contract.planPayment, M(200));
  EXPECT_EQ(f.newLoan.amount, Money());
}

// Without a consolidation loan nothing finances the fee: the contract shows what is left of
// it after the down payment instead of a financed fee of $0.00.
TEST(PlanFiguresTest, AFeeWithoutConsolidationIsDueAfterTheDownPayment) {
  PlanDocument plan = TwoDebtPlan();
  plan.SetupFee = M(995);
  plan.DownPayment = M(295);
  const ContractFigures c = CalculateFigures(plan).figures.contract;
  EXPECT_FALSE(c.financed);
  EXPECT_EQ(c.setupFee, M(995));
  EXPECT_EQ(c.downPayment, M(295));
  EXPECT_EQ(c.financedSetupFee, Money());
  EXPECT_EQ(c.unpaidSetupFee, M(700));  // 995 - 295
  EXPECT_EQ(c.loanPayment, Money());
}

// The new-loan page of the sample, worked from the plan file:
//   debts paid off    8,420.55 (Visa) + 2,310.40 (store card) = 10,730.95
//   their rate        (21.99 x 8,420.55 + 26.99 x 2,310.40) / 10,730.95 = 23.0665 %
//   points            2 % of (10,730.95 + 995 setup fee) = 234.519; fixed fees 150
//   cash              0 cash out - 295 down payment = -295
//   amount            10,730.95 + 234.519 + 150 + 995 - 295 = 11,815.469
//   payment           11,815.469 over 60 months at 7.5 % / 12 = 236.7578
//   today's payments  220 + 90 = 310, so 310 - 236.7578 = 73.2422 less a month
TEST(PlanFiguresTest, SampleNewLoanPage) {
  const NewLoanFigures n = Sample().figures.newLoan;
  EXPECT_EQ(n.payoffBalance, M(10730.95));
  EXPECT_EQ(n.setupFee, M(995));
  EXPECT_EQ(n.lenderFees, M(384.519));
  EXPECT_EQ(n.cashPayment, M(-295));
  EXPECT_EQ(n.amount, M(11815.469));
  EXPECT_EQ(n.payoffPayment, M(310));
  EXPECT_EQ(n.payment, M(236.7578));
  EXPECT_EQ(n.paymentDifference, M(73.2422));
  EXPECT_NEAR(n.payoffRatePercent, 247525.5905 / 10730.95, 1e-9);
  EXPECT_DOUBLE_EQ(n.ratePercent, 7.5);
  EXPECT_NEAR(n.rateDifferencePercent, 247525.5905 / 10730.95 - 7.5, 1e-9);
  EXPECT_DOUBLE_EQ(n.feesRatePercent, 2);
  EXPECT_DOUBLE_EQ(n.termYears, 5);
  EXPECT_FALSE(n.setupFeeAtRate);  // the fee entered, not a share of the saving
  // As the page prints them: $310.00 - $236.76, 23.067 % - 7.500 %.
  EXPECT_EQ(n.shownPaymentDifference, M(73.24));
  EXPECT_DOUBLE_EQ(n.shownRateDifferencePercent, 15.567);
  EXPECT_EQ(n.pointsBase, M(11725.95));  // the points' 234.519 are 2 % of it
}

// The saving as printed, before the fee and after it, and where the margin comes from. The
// first run, whose new loan carries no setup fee, saves 66,949.76; the final one, whose loan
// carries the 700 of the fee left after the down payment and the points on the whole fee,
// 145,660.11 - 79,366.35 = 66,293.76 as printed: financing the fee costs 656.00 of interest.
// The margin's sources add up to 223.24 with the fee taken off; with a 300 payment reduction
// instead of the power payment the budget falls 226.76 short of the minimums (2,095 against
// 2,321.7578, the unrounded -226.7578).
TEST(PlanFiguresTest, SampleSavingAndMarginAsPrinted) {
  const PlanFigures f = Sample().figures;
  EXPECT_EQ(f.shownInterestSaved, M(66293.76));
  EXPECT_EQ(PrintedMoney(f.newLoan.interestSavedBeforeFee), M(66949.76));
  EXPECT_EQ(f.newLoan.feeFinancingInterest, M(656));
  EXPECT_EQ(f.contract.monthlyFee, M(25));

  const FootedColumn margin = MarginSources(f.strategy, true);
  EXPECT_EQ(margin.rows, (std::vector<Money>{M(25), M(150), Money(), M(73.24), M(-25)}));
  EXPECT_EQ(margin.total, M(223.24));
  EXPECT_EQ(MarginSources(f.strategy, false).rows.size(), 4u);  // no negotiations row

  const PlanFigures reduced =
      Sample([](PlanDocument& plan) { plan.Accelerators[0].Monthly = M(-300); }).figures;
  const FootedColumn shortfall = MarginSources(reduced.strategy, true);
  EXPECT_EQ(shortfall.rows, (std::vector<Money>{M(25), M(-300), Money(), M(73.24), M(-25)}));
  EXPECT_EQ(shortfall.total, M(-226.76));
  EXPECT_EQ(reduced.strategy.actualMargin, M(-226.7578));
}

// The sample's strategy, payoff projections and fees. Today: 1,390 + 385 + 220 + 90 + 260
// + 75 = 2,420 a month plus 310 escrow. The plan adds the 150 power payment: 2,570 + 310.
TEST(PlanFiguresTest, SampleStrategyProjectionsAndFees) {
  const Calculated sample = Sample();
  const PlanFigures& f = sample.figures;
  EXPECT_EQ(f.strategy.currentPayment, M(2730));
  EXPECT_EQ(f.strategy.proposedPayment, M(2880));
  EXPECT_EQ(f.strategy.paymentIncrease, M(150));
  EXPECT_EQ(f.strategy.accelerator, M(150));
  EXPECT_EQ(f.strategy.adminFee, M(25));
  EXPECT_EQ(f.strategy.newLoanSavings, M(73.2422));
  EXPECT_EQ(f.escrow, M(310));
  EXPECT_EQ(f.currentDebtsPaymentWithEscrow, M(2730));
  EXPECT_EQ(f.currentDebtsBalance, M(233380.95));  // the six balances

  EXPECT_EQ(f.current.totalInterest, M(145660.1149));
  EXPECT_EQ(f.proposed.totalInterest, M(79366.3481));
  EXPECT_EQ(f.interestSaved, M(66293.7668));
  EXPECT_EQ(f.proposed.months, 120);
  EXPECT_EQ(f.current.months, 228);
  EXPECT_EQ(f.investmentValue, sample.results.ProposedInvestment.GetEndValue(227));

  // The return on 995 + 25 now and 25 a month for 120 months that grow to 66,293.7668:
  // the root of 1,020 x^120 + 25 (x + ... + x^120) = 66,293.7668 is x = 1.030343...,
  // 43.06 % a year.
  EXPECT_NEAR(f.annualReturnFraction, 0.430565, 5e-7);
  EXPECT_NEAR(f.AnnualReturnPercent(), 43.0565, 5e-5);

  // The contract: 995 less 295 down is financed by the new loan.
  EXPECT_TRUE(f.contract.financed);
  EXPECT_EQ(f.contract.financedSetupFee, M(700));
  EXPECT_EQ(f.contract.unpaidSetupFee, Money());
  EXPECT_EQ(f.contract.loanPayment, M(236.7578));
  EXPECT_DOUBLE_EQ(f.contract.loanRatePercent, 7.5);
  EXPECT_EQ(f.contract.planPayment, M(2880));
}

// With a payment reduction of 300 the budget (2,420 - 300 - 25 fee = 2,095) is below the
// minimums (1,390 + 385 + 260 + 50 negotiated + 236.7578 new loan = 2,321.7578), so for 42
// months the client pays them with escrow and fee: 2,656.7578 a month, 73.2422 less than
// today's 2,730, as the payment schedule shows. Its Decembers add the 1,000 yearly power
// payment, which the report states apart.
TEST(PlanFiguresTest, MonthsOverBudgetStateWhatTheScheduleShows) {
  const Calculated sample =
      Sample([](PlanDocument& plan) { plan.Accelerators[0].Monthly = M(-300); });
  const StrategyFigures& s = sample.figures.strategy;
  ASSERT_EQ(s.monthsOverBudget, 42);
  EXPECT_EQ(s.overBudgetPayment, M(2656.7578));
  EXPECT_EQ(s.overBudgetIncrease, M(-73.2422));
  EXPECT_EQ(ScheduleMonthOf(sample.results, 1).total, M(2656.7578));
  EXPECT_EQ(ScheduleMonthOf(sample.results, 0).total, M(3430));  // December: 773.24 extra
  EXPECT_EQ(s.paymentIncrease, s.proposedPayment - s.currentPayment);
}

// The order debts are paid off in is by date; the rank a debt has in the plan's priority
// order is another thing. In the sample the consolidated cards are settled at the plan date;
// the medical bill (1,200 negotiated at 50 a month) is paid off in month 24 with the new
// loan, second by the tie's priority order, though it is 7th in priority.
TEST(PlanFiguresTest, PayoffsAreListedAndRankedByDate) {
  const Calculated sample = Sample();
  const std::vector<DebtPayoff>& payoffs = sample.figures.payoffs;
  ASSERT_EQ(payoffs.size(), 7u);  // six debts and the new loan
  EXPECT_EQ(payoffs[0].proposedKind, PayoffKind::kConsolidated);
  EXPECT_EQ(payoffs[1].proposedKind, PayoffKind::kConsolidated);
  EXPECT_EQ(GetDebtName(sample.plan, sample.results, payoffs[2].loan), "Consolidation loan");
  EXPECT_EQ(GetDebtName(sample.plan, sample.results, payoffs[3].loan), "Medical bill");
  EXPECT_EQ(payoffs[3].rank, 2);
  EXPECT_EQ(sample.results.ProposedPlan.GetLoan(payoffs[3].loan)->PayoffOrder(), 7);
  EXPECT_EQ(payoffs[3].proposedDate, payoffs[2].proposedDate);
  DayNumber previous = 0;
  int rank = 0;
  for (const DebtPayoff& p : payoffs) {
    if (p.proposedKind != PayoffKind::kPaidOff) continue;
    EXPECT_GE(p.proposedDate, previous);
    EXPECT_EQ(p.rank, ++rank);
    previous = p.proposedDate;
  }
  EXPECT_EQ(rank, 5);
  EXPECT_EQ(previous, sample.figures.proposed.date);
}

// A $50,000 debt at 30 % paid at $100 a month never pays off, beside a $5,000 car loan that
// does. Its balance grows, so neither plan makes anyone debt free; both plans count its interest
// over the car's 27 months, the months they are compared over.
TEST(PlanFiguresTest, ADebtThatNeverPaysOffIsNamed) {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 1, 1);
  plan.Debts.AddDebt(MakeDebt("Big card", 50000, 30, 100, 100));
  plan.Debts.AddDebt(MakeDebt("Car", 5000, 6, 200, 200));
  const Calculated c = CalculateFigures(plan);
  const PlanFigures& f = c.figures;
  EXPECT_EQ(f.current.neverPaidOff, std::vector<int>{0});
  EXPECT_EQ(f.current.neverPaidOffNames, std::vector<std::string>{"Big card"});
  EXPECT_EQ(f.proposed.neverPaidOffNames, std::vector<std::string>{"Big card"});
  EXPECT_FALSE(f.current.DebtFree());
  EXPECT_NE(f.proposed.date, 0);  // the car's payoff: a date that must not be shown alone
  const Loan& card = *c.results.CurrentPlan.GetLoan(0);
  Money cardInterest;
  for (int m = 0; m < 27; ++m) cardInterest += card.GetInterest(m);
  EXPECT_EQ(c.results.InterestHorizonMonths, 27);
  EXPECT_EQ(card.TotalInterest(), cardInterest);
  EXPECT_EQ(f.current.totalInterest,
            cardInterest + c.results.CurrentPlan.GetLoan(1)->TotalInterest());
  ASSERT_EQ(f.payoffs.size(), 2u);
  EXPECT_EQ(f.payoffs[0].proposedKind, PayoffKind::kPaidOff);
  EXPECT_EQ(f.payoffs[1].proposedKind, PayoffKind::kNeverPaidOff);
  EXPECT_EQ(f.payoffs[1].currentKind, PayoffKind::kNeverPaidOff);
  EXPECT_EQ(f.payoffs[1].rank, 0);
}

// The new loan's empty slot in the current plan and the consolidated debts in the proposed
// plan have no balance: they are never "never paid off".
TEST(PlanFiguresTest, ConsolidatedDebtsAndTheEmptySlotAreNotNeverPaidOff) {
  PlanDocument plan = TwoDebtPlan();
  plan.Consolidate = true;
  testing::ChangeDebt(plan.Debts, 0, [](Debt& d) { d.Consolidate = true; });
  plan.ConsolidationLoan.InterestRate = Percent(8);
  plan.ConsolidationLoan.Term = 3;
  const PlanFigures f = CalculateFigures(plan, Permitting(true)).figures;
  EXPECT_TRUE(f.current.DebtFree());
  EXPECT_TRUE(f.proposed.DebtFree());
  ASSERT_EQ(f.payoffs.size(), 3u);
  EXPECT_EQ(f.payoffs[0].proposedKind, PayoffKind::kConsolidated);
  EXPECT_EQ(f.payoffs[0].currentKind, PayoffKind::kPaidOff);
  EXPECT_EQ(f.payoffs[2].currentKind == PayoffKind::kNothingOwed ||
                f.payoffs[1].currentKind == PayoffKind::kNothingOwed,
            true);  // the new loan's slot
}

// Rules of the calculation that the figures rest on, each once broken in a way no report
// test noticed.
TEST(PlanFiguresTest, FeeThresholdAndPriorityCodesReachTheFigures) {
  // A saving exactly at MinSavings is not below it: the plan's own fee is charged.
  PlanDocument plan = TwoDebtPlan();
  plan.SetupFee = M(100);
  plan.MinSetupFee = M(40);
  plan.MinSavings = M(23.7219);  // the saving before the fee
  EXPECT_EQ(CalculateFigures(plan).figures.contract.setupFee, M(100));
  plan.MinSavings = M(23.7220);
  EXPECT_EQ(CalculateFigures(plan).figures.contract.setupFee, M(40));

  // Code 6 keeps the listed order: B (listed first, 6 %) before A (12 %), unlike code 0
  // (highest rate first), so the plan costs more interest.
  PlanDocument listed;
  listed.Date = EncodeDate(2008, 1, 15);
  listed.Debts.AddDebt(MakeDebt("B", 2000, 6, 100, 50));
  listed.Debts.AddDebt(MakeDebt("A", 1000, 12, 100, 50));
  listed.Priority = PriorityFromCode(6);
  const PlanFigures inOrder = CalculateFigures(listed).figures;
  listed.Priority = PriorityFromCode(0);
  const PlanFigures byRate = CalculateFigures(listed).figures;
  EXPECT_GT(inOrder.proposed.totalInterest, byRate.proposed.totalInterest);
}

}  // namespace
}  // namespace ardvane
