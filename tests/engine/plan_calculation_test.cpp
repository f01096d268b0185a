#include "engine/plan_calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::M;
using testing::MakeDebt;

// The two-debt example (A 1,000 at 12 % paying 100, B 2,000 at 6 % paying 100, minimums 50)
// with no fees, so nothing but the rollover separates the two plans.
PlanDocument TwoDebtPlan(bool consolidateA = false) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  Debt a = MakeDebt("A", 1000, 12, 100, 50);
  a.Consolidate = consolidateA;
  plan.Debts.AddDebt(a);
  plan.Debts.AddDebt(MakeDebt("B", 2000, 6, 100, 50));
  return plan;
}

PlanParameters Permitting(bool consolidate, bool negotiate = false, bool cashOut = false) {
  PlanParameters params;
  params.PermitConsolidate = consolidate;
  params.PermitNegotiate = negotiate;
  params.PermitCashOut = cashOut;
  return params;
}

PlanResults CalculatePlan(const PlanDocument& plan, const PlanParameters& params = {}) {
  return Calculate(plan, params, AppSettings{});
}

TEST(PlanCalculationTest, TwoDebtExampleWithoutFees) {
  const PlanResults r = CalculatePlan(TwoDebtPlan());
  EXPECT_EQ(r.CurrentPlan.GetTotalInterest(), M(171.486));
  EXPECT_EQ(r.ProposedPlan.GetTotalInterest(), M(147.7641));
  EXPECT_EQ(r.InterestSavedBeforeFee, M(23.7219));
  EXPECT_EQ(r.InterestSaved(), M(23.7219));
  EXPECT_EQ(r.CurrentPlan.GetDebtFreeMonths(), 22);
  EXPECT_EQ(r.ProposedPlan.GetDebtFreeMonths(), 16);
  EXPECT_EQ(r.ProjectionMonths, 22);
  EXPECT_EQ(r.CurrentPlan.GetCount(), 2);
  EXPECT_EQ(r.NewLoanAmount, Money());
  EXPECT_EQ(r.AnnualReturn, Ratio(0));  // no fees: nothing to earn a return on
  EXPECT_EQ(r.MonthlyInterestSaving, M(23.7219L / 16));
  EXPECT_EQ(r.NegotiatedMinimums, M(100));
  // With no growth the investment is the whole budget of 22 months less what the proposed
  // plan paid (principal 3,000 plus its interest).
  EXPECT_EQ(r.ProposedInvestment.GetEndValue(21), M(22 * 200 - 3000 - 147.7641L));
  EXPECT_EQ(r.ProposedInvestment.GetContribution(16), M(200));
  EXPECT_EQ(r.ProposedInvestment.GetEndValue(22), Money());
}

TEST(PlanCalculationTest, MonthlyFeeIsInvestedOnceDebtFree) {
  PlanDocument plan = TwoDebtPlan();
  plan.ManagementFee = M(25);
  plan.ReturnRate = Percent(0);
  const PlanResults r = CalculatePlan(plan);
  const int s = r.ProposedPlan.GetDebtFreeMonths();
  EXPECT_EQ(r.ProposedPlan.GetBudget(), M(175));
  ASSERT_LT(s, 22);
  const long double expected =
      22 * 175.0L - 3000 - r.ProposedPlan.GetTotalInterest().Units() + 25.0L * (22 - s);
  EXPECT_EQ(r.ProposedInvestment.GetEndValue(21), M(expected));
  EXPECT_EQ(r.ProposedInvestment.GetContribution(s), M(200));
}

TEST(PlanCalculationTest, InvestmentGrowsAtTheMonthlyEquivalentRate) {
  PlanDocument plan = TwoDebtPlan();
  plan.ReturnRate = Percent(12);
  const PlanResults r = CalculatePlan(plan);
  const InvestmentAsset& asset = r.ProposedInvestment;
  EXPECT_NEAR(asset.MonthlyReturnRate(), std::pow(1.12, 1.0 / 12) - 1, 1e-15);
  EXPECT_LT(asset.MonthlyReturnRate(), 0.0095);
  for (int m = 0; m < r.ProjectionMonths; ++m) {
    EXPECT_EQ(asset.GetGrowth(m), asset.GetBeginValue(m) * asset.MonthlyReturnRate()) << m;
    EXPECT_EQ(asset.GetEndValue(m),
              asset.GetBeginValue(m) + asset.GetGrowth(m) + asset.GetContribution(m))
        << m;
    EXPECT_EQ(asset.GetBeginValue(m + 1), asset.GetEndValue(m)) << m;
  }
  EXPECT_EQ(asset.GetGrowth(0), Money());  // a contribution earns nothing in its own month
}

TEST(PlanCalculationTest, SetupFeeIsTheLargerOfTheRatedAndTheEnteredFee) {
  PlanDocument plan = TwoDebtPlan();
  plan.SetupFeeRate = Ratio(100);  // 100 x 23.7219 = 2,372.19, charged in whole units
  plan.SetupFee = M(2995);
  PlanResults r = CalculatePlan(plan);
  EXPECT_EQ(r.RateSetupFee, M(2372));
  EXPECT_EQ(r.ActualSetupFee, M(2995));

  plan.SetupFee = M(2000);
  plan.DownPayment = M(500);
  r = CalculatePlan(plan);
  EXPECT_EQ(r.ActualSetupFee, M(2372));
  EXPECT_EQ(r.ActualDownPayment, M(500));
  EXPECT_EQ(r.SetupFeeFinanced, Money());  // not consolidating

  plan.MinSavings = M(30);  // above the saving: the minimum fees apply instead
  plan.MinSetupFee = M(99);
  plan.MinDownPayment = M(11);
  r = CalculatePlan(plan);
  EXPECT_EQ(r.ActualSetupFee, M(99));
  EXPECT_EQ(r.ActualDownPayment, M(11));
}

TEST(PlanCalculationTest, ConsolidationSizesTheNewLoanWithTheFinancedFee) {
  PlanDocument plan = TwoDebtPlan(/*consolidateA=*/true);
  plan.Consolidate = true;
  plan.SetupFee = M(100);
  plan.DownPayment = M(30);
  plan.ConsolidationLoan.InterestRate = Percent(6);
  plan.ConsolidationLoan.Term = 1;
  plan.ConsolidationLoan.FeesRate = Percent(2);
  plan.ConsolidationLoan.CashOut = M(5000);  // ignored: cash out not permitted
  const PlanResults r = CalculatePlan(plan, Permitting(true));

  ASSERT_TRUE(r.Consolidating);
  EXPECT_EQ(r.PayoffBalance, M(1000));
  EXPECT_EQ(r.PayoffPayment, M(100));
  EXPECT_EQ(r.PayoffMinimum, M(50));
  EXPECT_DOUBLE_EQ(r.PayoffAverageRate.Value(), 12);
  EXPECT_EQ(r.CashOutAmount, Money());
  EXPECT_EQ(r.ActualSetupFee, M(100));
  EXPECT_EQ(r.SetupFeeFinanced, M(70));
  // Points on balance plus the whole fee: (1,000 + 100) x 2 % = 22; amount 1,000 + 22 + 70.
  EXPECT_EQ(r.NewLoanPointsFee, M(22));
  EXPECT_EQ(r.NewLoanSetupFee, M(100));
  EXPECT_EQ(r.NewLoanAmount, M(1092));
  // 1,092 x 0.005 / (1 - 1.005^-12) = 93.98454...
  EXPECT_EQ(r.NewLoanPayment, M(93.9845));
  EXPECT_EQ(r.NewLoanTermMonths, 12);

  ASSERT_EQ(r.CurrentPlan.GetCount(), 3);
  ASSERT_EQ(r.ProposedPlan.GetCount(), 3);
  EXPECT_EQ(r.CurrentPlan.GetLoan(2)->Balance(), Money());
  EXPECT_EQ(r.ProposedPlan.GetLoan(0)->Balance(), Money());
  const Loan& newLoan = *r.ProposedPlan.GetLoan(2);
  EXPECT_EQ(newLoan.Balance(), M(1092));
  EXPECT_EQ(newLoan.MinimumPaymentAmount(), M(93.9845));
  EXPECT_EQ(newLoan.TermMonths(), 12);
  EXPECT_TRUE(newLoan.Accelerated());
  EXPECT_EQ(newLoan.GetPayment(0), M(93.9845));
  EXPECT_GT(newLoan.PayoffMonths(), 0);
  EXPECT_LE(newLoan.PayoffMonths(), 12);
  EXPECT_EQ(GetDebtName(plan, r, 2), "Consolidation loan");
  EXPECT_EQ(GetDebtName(plan, r, 1), "B");
  // The proposed budget is still everything the client paid before.
  EXPECT_EQ(r.ProposedPlan.GetBudget(), M(200));
  EXPECT_EQ(r.InterestSaved(),
            r.CurrentPlan.GetTotalInterest() - r.ProposedPlan.GetTotalInterest());
}

TEST(PlanCalculationTest, CashOutAndEscrowFollowTheNewLoan) {
  PlanDocument plan = TwoDebtPlan(true);
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 1;
  plan.ConsolidationLoan.CashOut = M(500);
  testing::ChangeDebt(plan.Debts, 0, [](Debt& d) { d.Escrow = 15; });
  const PlanResults r = CalculatePlan(plan, Permitting(true, false, true));
  EXPECT_EQ(r.CashOutAmount, M(500));
  EXPECT_EQ(r.NewLoanAmount, M(1500));
  EXPECT_EQ(r.ProposedPlan.GetLoan(2)->Escrow(), M(15));
  EXPECT_EQ(r.ProposedPlan.GetLoan(0)->Escrow(), Money());
  EXPECT_EQ(r.CurrentPlan.GetTotalEscrow(), M(15));
}

TEST(PlanCalculationTest, TheFlagWithoutThePermissionConsolidatesNothingButFinancesTheFee) {
  PlanDocument plan = TwoDebtPlan(true);
  plan.Consolidate = true;
  plan.SetupFee = M(100);
  plan.DownPayment = M(30);
  const PlanResults r = CalculatePlan(plan, Permitting(false));
  EXPECT_FALSE(r.Consolidating);
  EXPECT_EQ(r.NewLoanAmount, Money());
  EXPECT_EQ(r.NewLoanPayment, Money());
  EXPECT_EQ(r.PayoffBalance, Money());
  EXPECT_EQ(r.ProposedPlan.GetCount(), 2);
  EXPECT_EQ(r.ProposedPlan.GetLoan(0)->Balance(), M(1000));
  EXPECT_EQ(r.SetupFeeFinanced, M(70));
  EXPECT_EQ(GetDebtName(plan, r, 2), "New loan");
}

TEST(PlanCalculationTest, DownPaymentAboveTheFeeFinancesNothing) {
  PlanDocument plan = TwoDebtPlan(true);
  plan.Consolidate = true;
  plan.SetupFee = M(100);
  plan.DownPayment = M(300);
  plan.ConsolidationLoan.Term = 1;
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.SetupFeeFinanced, Money());
  EXPECT_EQ(r.ActualDownPayment, M(300));
  EXPECT_EQ(r.NewLoanAmount, M(1000));
}

TEST(PlanCalculationTest, NewLoanPaymentsLevelAndInterestOnly) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Consolidate = true;
  plan.Debts.AddDebt(Consolidated(MakeDebt("Card", 10000, 18, 300, 200)));
  plan.ConsolidationLoan.InterestRate = Percent(9.9);
  plan.ConsolidationLoan.Term = 10;
  PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.NewLoanAmount, M(10000));
  EXPECT_EQ(r.NewLoanPayment, M(131.5976));

  plan.ConsolidationLoan.InterestOnly = true;
  r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.NewLoanPayment, M(82.5));
  const Loan& loan = *r.ProposedPlan.GetLoan(1);
  EXPECT_TRUE(loan.InterestOnly());
  EXPECT_EQ(loan.GetPaymentDue(0), M(82.5));
  EXPECT_EQ(loan.GetPayment(0), M(82.5));

  plan.ConsolidationLoan.Term = 0;
  r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.NewLoanTermMonths, 1);
  EXPECT_EQ(r.ProposedPlan.GetLoan(1)->PayoffMonths(), 1);
}

TEST(PlanCalculationTest, InterestOnlyLoanPaysEverythingInItsLastTermMonth) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Consolidate = true;
  // Minimum-only payments leave no pool, so the new loan pays exactly its minimums.
  Debt card = Consolidated(MakeDebt("Card", 10000, 18, 0, 0));
  card.UseMinimum = true;
  card.MinimumPaymentPercent = Percent(0.825);
  plan.Debts.AddDebt(card);
  plan.ConsolidationLoan.InterestRate = Percent(9.9);
  plan.ConsolidationLoan.Term = 2;
  plan.ConsolidationLoan.InterestOnly = true;
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  const Loan& loan = *r.ProposedPlan.GetLoan(1);
  for (int m = 0; m < 23; ++m) {
    ASSERT_EQ(loan.GetPayment(m), M(82.5)) << m;
    ASSERT_EQ(loan.GetExtraPayment(m), Money()) << m;
  }
  EXPECT_EQ(loan.GetPayment(23), M(10082.5));
  EXPECT_EQ(loan.PayoffMonths(), 24);
}

TEST(PlanCalculationTest, PaymentOverrideIsThePaymentEverywhere) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Consolidate = true;
  plan.Debts.AddDebt(Consolidated(MakeDebt("Card", 10000, 18, 300, 200)));
  plan.ConsolidationLoan.InterestRate = Percent(9.9);
  plan.ConsolidationLoan.Term = 10;
  PlanParameters params = Permitting(true);
  params.NewLoanPaymentOverride = M(150);
  PlanResults r = CalculatePlan(plan, params);
  EXPECT_EQ(r.NewLoanPayment, M(150));
  const Loan& loan = *r.ProposedPlan.GetLoan(1);
  EXPECT_EQ(loan.CurrentPayment(), M(150));
  EXPECT_EQ(loan.MinimumPaymentAmount(), M(150));
  EXPECT_EQ(loan.GetPaymentDue(0), M(150));

  params.PermitConsolidate = false;
  r = CalculatePlan(plan, params);
  EXPECT_EQ(r.NewLoanPayment, Money());
}

TEST(PlanCalculationTest, NegotiatedTermsReplaceTheDebtsOwnInTheProposedPlanOnly) {
  PlanDocument plan = TwoDebtPlan();
  testing::ChangeDebt(plan.Debts, 1, [](Debt& d) {
    d.Negotiate = true;
    d.NegotiatedBalance = 1500;
    d.NegotiatedInterestRate = Percent(3);
    d.NegotiatedPayment = 40;
  });

  PlanResults r = CalculatePlan(plan, Permitting(false, true));
  const Loan& proposedB = *r.ProposedPlan.GetLoan(1);
  EXPECT_EQ(proposedB.Balance(), M(1500));
  EXPECT_DOUBLE_EQ(proposedB.InterestRate(), 0.03);
  EXPECT_EQ(proposedB.MinimumPaymentAmount(), M(40));
  EXPECT_EQ(r.CurrentPlan.GetLoan(1)->Balance(), M(2000));
  EXPECT_EQ(r.NegotiatedMinimums, M(90));
  EXPECT_TRUE(HaveNegotiated(plan, Permitting(false, true)));
  EXPECT_FALSE(HaveNegotiated(plan, Permitting(false, false)));

  r = CalculatePlan(plan, Permitting(false, false));  // not permitted: ignored
  EXPECT_EQ(r.ProposedPlan.GetLoan(1)->Balance(), M(2000));
  EXPECT_EQ(r.NegotiatedMinimums, M(100));

  // Restructured terms identical to the debt's own are no negotiation.
  testing::ChangeDebt(plan.Debts, 1, [](Debt& d) {
    d.NegotiatedBalance = 2000;
    d.NegotiatedInterestRate = Percent(6);
    d.NegotiatedPayment = 100;
  });
  EXPECT_FALSE(HaveNegotiated(plan, Permitting(false, true)));
}

TEST(PlanCalculationTest, ANegotiatedConsolidatedDebtPaysOffItsRestructuredBalance) {
  PlanDocument plan = TwoDebtPlan(true);
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 1;
  testing::ChangeDebt(plan.Debts, 0, [](Debt& d) {
    d.Negotiate = true;
    d.NegotiatedBalance = 800;
  });
  const PlanResults r = CalculatePlan(plan, Permitting(true, false));
  EXPECT_EQ(r.PayoffBalance, M(800));
  // The average rate weights by the debt's own balance: 12 x 1,000 / 800.
  EXPECT_DOUBLE_EQ(r.PayoffAverageRate.Value(), 15);
}

TEST(PlanCalculationTest, MinimizeInterestEqualsHighestRateAndMaximizeWealthSkipsLowRates) {
  PlanDocument plan = TwoDebtPlan();
  plan.ReturnRate = Percent(8);
  plan.Priority = PaydownPriority::HighestInterestRate;
  const PlanResults highest = CalculatePlan(plan);
  plan.Priority = PaydownPriority::MinimizeInterest;
  const PlanResults minimize = CalculatePlan(plan);
  EXPECT_EQ(minimize.ProposedPlan.GetTotalInterest(), highest.ProposedPlan.GetTotalInterest());
  EXPECT_EQ(minimize.ProposedPlan.GetDebtFreeMonths(), highest.ProposedPlan.GetDebtFreeMonths());
  EXPECT_EQ(minimize.ProposedInvestment.GetEndValue(21),
            highest.ProposedInvestment.GetEndValue(21));

  plan.Priority =
      PaydownPriority::MaximizeWealth;  // B at 6 % is below the 8 % return: minimums only
  const PlanResults wealth = CalculatePlan(plan);
  EXPECT_TRUE(wealth.ProposedPlan.MaximizeWealth());
  const Loan& b = *wealth.ProposedPlan.GetLoan(1);
  for (int m = 0; m < b.ComputedMonths(); ++m) ASSERT_EQ(b.GetExtraPayment(m), Money()) << m;
  EXPECT_GT(wealth.ProposedInvestment.GetContribution(8), M(100));
  EXPECT_EQ(wealth.CurrentPlan.Priority(), PaydownPriority::HighestInterestRate);
}

TEST(PlanCalculationTest, NoDebtsGiveAllZeros) {
  PlanDocument plan;
  plan.Consolidate = true;
  plan.SetupFee = M(0);
  plan.ManagementFee = M(25);
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.CurrentPlan.GetCount(), 0);
  EXPECT_EQ(r.ProposedPlan.GetCount(), 0);
  EXPECT_EQ(r.ProjectionMonths, 0);
  EXPECT_EQ(r.InterestSaved(), Money());
  EXPECT_EQ(r.AnnualReturn, Ratio(0));
  EXPECT_EQ(r.NewLoanAmount, Money());
  EXPECT_EQ(r.ProposedInvestment.GetEndValue(0), Money());
  EXPECT_EQ(r.NegotiatedMinimums, Money());
}

TEST(PlanCalculationTest, ADebtThatNeverPaysOffIsReported) {
  PlanDocument plan = TwoDebtPlan();
  plan.Debts.AddDebt(MakeDebt("Store card", 1000, 24, 15, 15));
  const PlanResults r = CalculatePlan(plan);
  EXPECT_FALSE(DebtNeverPaysOff(r, 0));
  EXPECT_TRUE(DebtNeverPaysOff(r, 2));
  EXPECT_FALSE(DebtNeverPaysOff(r, 3));
  EXPECT_EQ(CheckForNoPayoff(plan, r, 0), std::nullopt);
  EXPECT_EQ(CheckForNoPayoff(plan, r, 2),
            "Using the entered payment amount, the Store card debt never gets paid off in this "
            "analysis.\n\nYou should adjust the payment amount on this debt.");
  EXPECT_EQ(r.CurrentPlan.GetDebtFreeMonths(), 22);
}

TEST(PlanCalculationTest, BadCellsAndExtremeTermsCalculateWithoutFailing) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Consolidate = true;
  plan.Priority = PriorityFromCode(99);
  plan.Accelerators[0].Month = 0;
  plan.Debts.AddDebt(MakeDebt("Blank", 0, 0, 0, 0));
  plan.Debts.AddDebt(Consolidated(MakeDebt("Huge rate", 1000, 1e300, 10, 10)));
  plan.Debts.AddDebt(MakeDebt("Negative", -500, -50, -10, -10));
  plan.ConsolidationLoan.Term = 1e300;
  plan.ConsolidationLoan.InterestRate = Percent(1e300);
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.ProposedPlan.GetCount(), 4);
  EXPECT_LE(r.ProposedPlan.GetLoan(3)->ComputedMonths(), Loan::kMaxMonths);
  EXPECT_TRUE(std::isfinite(r.AnnualReturn.Value()));
}

TEST(PlanCalculationTest, APowerPaymentMonthOutsideTheYearNeverPays) {
  PlanDocument without = TwoDebtPlan();
  without.Accelerators[0].Monthly = M(20);
  const PlanResults expected = CalculatePlan(without);
  for (int month : {13, -12, 1000000, std::numeric_limits<int>::min(),
                    std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max()}) {
    PlanDocument plan = without;
    plan.Accelerators[0].Annual = M(500);
    plan.Accelerators[0].Month = month;
    const PlanResults r = CalculatePlan(plan);
    EXPECT_EQ(r.ProposedPlan.GetTotalInterest(), expected.ProposedPlan.GetTotalInterest()) << month;
    EXPECT_EQ(r.ProposedPlan.GetDebtFreeMonths(), expected.ProposedPlan.GetDebtFreeMonths());
    EXPECT_EQ(r.ProposedPlan.GetBudgetOfMonth(11), r.ProposedPlan.GetBudgetOfMonth(0));
  }
}

TEST(PlanCalculationTest, AThousandDebtsIncludingOnesThatNeverPayOff) {
  PlanDocument plan;
  plan.Date = EncodeDate(2008, 1, 15);
  plan.Consolidate = true;
  plan.ConsolidationLoan.Term = 30;
  for (int i = 0; i < 1000; ++i) {
    // Every tenth debt pays less than its interest.
    const double payment = i % 10 == 0 ? 5 : 20 + i % 50;
    Debt debt = MakeDebt("D" + std::to_string(i), 1000 + i, 12, payment, payment);
    debt.Consolidate = i % 7 == 0;
    plan.Debts.AddDebt(debt);
  }
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.CurrentPlan.GetCount(), 1001);
  EXPECT_EQ(r.ProposedPlan.GetCount(), 1001);
  EXPECT_TRUE(DebtNeverPaysOff(r, 0));
  EXPECT_FALSE(DebtNeverPaysOff(r, 1));
  EXPECT_GT(r.InterestSaved(), Money());
  EXPECT_LE(r.ProjectionMonths, Loan::kMaxMonths);
}

TEST(ReturnSolverTest, RecoversAKnownMonthlyRate) {
  // Fees A = 500 and F = 25 a month for S = 24 months at 1 % a month grow to
  // (A + F) 1.01^24 + F 1.01 (1.01^24 - 1) / 0.01.
  for (double monthly : {0.01, 0.001, -0.005, 0.05}) {
    const double g = 525 * std::pow(1 + monthly, 24) +
                     25 * (1 + monthly) * (std::pow(1 + monthly, 24) - 1) / monthly;
    const double annual = SolveAnnualReturn(24, M(500), M(25), M(g));
    EXPECT_NEAR(annual, std::pow(1 + monthly, 12) - 1, 1e-6) << monthly;
  }
  // Saving exactly what was paid: no return.
  EXPECT_NEAR(SolveAnnualReturn(24, M(500), M(25), M(525 + 25 * 24)), 0, 1e-12);
  EXPECT_EQ(SolveAnnualReturn(0, M(500), M(25), M(1000)), 0);
  EXPECT_EQ(SolveAnnualReturn(24, M(0), M(0), M(1000)), 0);
  EXPECT_EQ(SolveAnnualReturn(24, M(500), M(25), M(0)), 0);
  // Returns far from 0, which a plain Newton iteration from r = 0 never reaches, are found:
  // 1 grows to 1e9 over 360 months at 1e9^(1/360) a month.
  EXPECT_NEAR(SolveAnnualReturn(360, M(1), Money(), M(1e9)), std::pow(1e9, 12.0 / 360) - 1,
              1e-9);
}

// The former solver: at most 15 Newton steps on t = ln(1 + r) from t = 0; nullopt when they
// did not converge.
std::optional<double> FifteenNewtonSteps(int months, double fees, double monthly, double saved) {
  long double t = 0;
  for (int iteration = 0; iteration < 15; ++iteration) {
    const long double x = std::exp(t);
    long double power = 1, annuity = 0, weighted = 0;
    for (int k = 1; k <= months; ++k) {
      power *= x;
      annuity += power;
      weighted += k * power;
    }
    const long double value = -(fees + monthly) * power - monthly * annuity + saved;
    const long double step = value / (-(fees + monthly) * months * power - monthly * weighted);
    t -= step;
    if (std::fabs(step) <= 1e-15L * std::max(1.0L, std::fabs(t))) {
      return static_cast<double>(std::expm1(12 * t));
    }
  }
  return std::nullopt;
}

TEST(ReturnSolverTest, AgreesWithTheFormerSolverWhereItConvergedAndFindsTheRestToo) {
  struct Case {
    int months;
    double setupFee, monthlyFee, saved;
  };
  int converged = 0;
  for (const Case c : {Case{24, 500, 25, 1500}, Case{36, 995, 0, 1400}, Case{120, 2995, 39, 9000},
                       Case{60, 0, 49, 2000}, Case{12, 300, 10, 250}, Case{480, 5000, 0, 400000},
                       Case{1080, 100, 1, 1e7}, Case{1, 700, 0, 1e6}}) {
    const double annual = SolveAnnualReturn(c.months, M(c.setupFee), M(c.monthlyFee), M(c.saved));
    ASSERT_TRUE(std::isfinite(annual)) << c.months << " " << c.saved;
    // The root: the fees, compounded at the found rate, are worth the saving.
    const long double x = std::pow(1.0L + annual, 1.0L / 12);
    long double worth = (c.setupFee + c.monthlyFee) * std::pow(x, c.months);
    for (int k = 1; k <= c.months; ++k) worth += c.monthlyFee * std::pow(x, k);
    EXPECT_NEAR(static_cast<double>(worth / c.saved), 1, 1e-9)
        << c.months << " " << c.saved;
    if (const auto former = FifteenNewtonSteps(c.months, c.setupFee, c.monthlyFee, c.saved)) {
      ++converged;
      EXPECT_NEAR(annual, *former, 1e-12 * std::max(1.0, std::fabs(*former))) << c.months;
    }
  }
  EXPECT_GE(converged, 3);  // the comparison above did run
}

TEST(NewLoanTermTest, YearsRoundToMonthsHalfToEvenAndNeverBelowOne) {
  EXPECT_EQ(TermMonthsOf(30), 360);
  EXPECT_EQ(TermMonthsOf(0), 1);
  EXPECT_EQ(TermMonthsOf(-3), 1);
  EXPECT_EQ(TermMonthsOf(0.125), 2);     // 1.5 months
  EXPECT_EQ(TermMonthsOf(2.5 / 12), 2);  // 2.5 months
  EXPECT_EQ(LevelPayment(M(1200), 0, 12), M(100));
  EXPECT_EQ(LevelPayment(M(10000), 0.099L / 12, 120), M(131.5976));
}

// Interest compared over the same months. A $1,000 at 12 % paying $5 (its $10 interest a month
// outruns the payment, so today's payments never pay it off) and B $100 at 0 % paying $50, no
// minimums. The proposed plan pours the whole $55 into A, which is paid off in 21 months, then
// into B, paid off in the 22nd: H = 22. Today A's balance
// grows by 1 % less $5 a month: after 22 months it is 1,000 x 1.01^22 - 5 (1.01^22 - 1) / 0.01
// = 1,244.7155 - 122.3577 = 1,122.3577, so its interest over those months is 1,122.3577 -
// 1,000 + 22 x 5 = 232.3577.
PlanDocument HopelessDebtPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5));
  plan.Debts.AddDebt(MakeDebt("B", 100, 0, 50));
  return plan;
}

TEST(PlanCalculationTest, DebtNeverPaidOffCountsItsInterestOverTheLaterPlan) {
  const PlanResults r = CalculatePlan(HopelessDebtPlan());
  const Loan& currentA = *r.CurrentPlan.GetLoan(0);
  ASSERT_TRUE(currentA.NeverPaidOff());
  EXPECT_EQ(r.ProposedPlan.GetLoan(0)->PayoffMonths(), 21);
  EXPECT_EQ(r.ProposedPlan.GetDebtFreeMonths(), 22);
  EXPECT_EQ(r.InterestHorizonMonths, 22);
  EXPECT_EQ(currentA.TotalInterest(), M(232.3577));
  EXPECT_EQ(currentA.GetBeginBalance(r.InterestHorizonMonths), M(1122.3577));
  EXPECT_EQ(r.InterestSaved(), M(123.1214));
  // Cross-check: A at $55 a month from month 0 pays 109.2363 of interest (summed by hand over
  // its 21 months), which is also the sum of the proposed plan's monthly interest.
  Money proposedInterest;
  for (int m = 0; m < 22; ++m) proposedInterest += r.ProposedPlan.GetTotalInterestOfMonth(m);
  EXPECT_EQ(r.ProposedPlan.GetTotalInterest(), proposedInterest);
  EXPECT_EQ(proposedInterest, M(109.2363));
  EXPECT_EQ(r.MonthlyInterestSaving, M(123.1214L / 22));
}

// The setup fee is priced on the saving compared over the same months in the first run too.
// A as above; B $20,000 at 9 % paying $400, consolidated into a new loan at 8 % over 30 years;
// setup fee 50 % of the saving; no power payment. The first proposed run pays A, then the loan
// ($146.7529 a month) off in 64 months with 4,866.1185 of interest; today B costs 5,160.8758
// (63 months) and A 765.2302 over 64 months, so the saving is 1,059.99 and the fee $530. Counting
// A at 0 in that first run would give 294.76 and a fee of $147. Financing the fee makes the final
// run 66 months with 5,154.5893 of interest, against A's 794.2293 over 66 months. Each figure
// comes from a month-by-month simulation in decimal arithmetic, independent of the engine.
TEST(PlanCalculationTest, SetupFeeIsPricedOnInterestComparedOverTheSameMonths) {
  PlanDocument plan = HopelessDebtPlan();
  plan.Debts = DebtList();
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5));
  plan.Debts.AddDebt(Consolidated(MakeDebt("B", 20000, 9, 400)));
  plan.Consolidate = true;
  plan.ConsolidationLoan.InterestRate = Percent(8);
  plan.ConsolidationLoan.Term = 30;
  plan.SetupFeeRate = Ratio(0.5);
  const PlanResults r = CalculatePlan(plan, Permitting(true));
  EXPECT_EQ(r.InterestSavedBeforeFee, M(1059.9875));
  EXPECT_EQ(r.ActualSetupFee, M(530));
  EXPECT_EQ(r.InterestHorizonMonths, 66);
  EXPECT_EQ(r.ProposedPlan.GetTotalInterest(), M(5154.5894));
  // 5,160.8758 + 794.2293 - 5,154.5893 = 800.5158 in decimal; the engine, whose monthly rates
  // are binary, lands a ten-thousandth away on the loan's interest.
  EXPECT_EQ(r.InterestSaved(), M(800.5157));
}

// Neither plan pays any debt off: nothing is compared, so both count no interest and H is 0.
TEST(PlanCalculationTest, NoDebtPaidOffInEitherPlanComparesNoMonths) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5));
  const PlanResults r = CalculatePlan(plan);
  EXPECT_EQ(r.InterestHorizonMonths, 0);
  EXPECT_EQ(r.CurrentPlan.GetTotalInterest(), Money());
  EXPECT_EQ(r.ProposedPlan.GetTotalInterest(), Money());
  EXPECT_EQ(r.CurrentPlan.GetLoan(0)->GetBeginBalance(0), M(1000));
}

}  // namespace
}  // namespace ardvane
