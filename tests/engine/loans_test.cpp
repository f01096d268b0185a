#include <gtest/gtest.h>

#include "engine/loan_schedule.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::M;

struct DebtTerms {
  long double balance;
  double rate;
  long double minimumAmount;
  long double payment;
  double minimumPercent = 0;
};

void AddDebts(LoanSchedule& plan, std::initializer_list<DebtTerms> debts, bool accelerated) {
  for (const DebtTerms& d : debts) {
    Loan& loan =
        plan.AddLoan(M(d.balance), d.rate, d.minimumPercent, M(d.minimumAmount), M(d.payment));
    loan.SetAccelerated(accelerated);
    loan.SetCompoundingPeriod(1);
  }
}

// The two-debt example: A 1,000 at 12 % paying 100 (minimum 50), B 2,000 at 6 % paying 100
// (minimum 50), monthly compounding, highest rate first, no power payment and no fee.
LoanSchedule TwoDebtPlan(bool proposed) {
  LoanSchedule plan;
  plan.SetPlanDate(EncodeDate(2008, 1, 15));
  AddDebts(plan, {{1000, 0.12, 50, 100}, {2000, 0.06, 50, 100}}, proposed);
  plan.SetPriority(PaydownPriority::HighestInterestRate);
  plan.ComputeTotalPayment();
  return plan;
}

void ExpectMonthTotalsAgree(const LoanSchedule& plan) {
  for (int m = 0; m < plan.GetDebtFreeMonths(); ++m) {
    EXPECT_EQ(plan.GetTotalBeginBalance(m) + plan.GetTotalInterestOfMonth(m) -
                  plan.GetTotalPayment(m) - plan.GetTotalExtraPayment(m),
              plan.GetTotalEndBalance(m))
        << "month " << m;
  }
}

TEST(LoansTest, TwoDebtExampleCurrentPlan) {
  LoanSchedule plan = TwoDebtPlan(false);
  plan.Run();
  EXPECT_EQ(plan.GetLoan(0)->PayoffMonths(), 11);
  EXPECT_EQ(plan.GetLoan(1)->PayoffMonths(), 22);
  EXPECT_EQ(plan.GetLoan(0)->TotalInterest(), M(58.9848));
  EXPECT_EQ(plan.GetLoan(1)->TotalInterest(), M(112.5012));
  EXPECT_EQ(plan.GetTotalInterest(), M(171.486));
  EXPECT_EQ(plan.GetDebtFreeMonths(), 22);
  EXPECT_EQ(plan.GetDebtFreeDate(), EncodeDate(2009, 11, 15));
  EXPECT_EQ(plan.GetTotalExtraPayment(3), Money());
  ExpectMonthTotalsAgree(plan);
}

TEST(LoansTest, TwoDebtExampleProposedPlanRollsPaymentsOver) {
  LoanSchedule plan = TwoDebtPlan(true);
  EXPECT_EQ(plan.GetBudget(), M(200));
  plan.Run();
  const Loan& a = *plan.GetLoan(0);
  const Loan& b = *plan.GetLoan(1);
  EXPECT_EQ(a.GetInterest(0), M(10));
  EXPECT_EQ(a.GetPayment(0), M(50));
  EXPECT_EQ(a.GetExtraPayment(0), M(100));
  EXPECT_EQ(a.GetEndBalance(0), M(860));
  EXPECT_EQ(b.GetPayment(0), M(50));
  EXPECT_EQ(b.GetEndBalance(0), M(1960));
  EXPECT_EQ(a.PayoffMonths(), 7);
  EXPECT_EQ(b.PayoffMonths(), 16);
  EXPECT_EQ(plan.GetTotalInterest(), M(147.7641));
  // After A is paid off its whole former payment goes to B.
  EXPECT_EQ(b.GetTotalPaid(7), M(200));
  EXPECT_EQ(a.PayoffOrder(), 1);
  EXPECT_EQ(b.PayoffOrder(), 2);
  // Every month but the last spends exactly the budget.
  for (int m = 0; m + 1 < plan.GetDebtFreeMonths(); ++m) {
    EXPECT_EQ(plan.GetTotalPayment(m) + plan.GetTotalExtraPayment(m), M(200)) << m;
  }
  ExpectMonthTotalsAgree(plan);
}

TEST(LoansTest, RunningAgainAfterResetGivesTheSameFigures) {
  LoanSchedule plan = TwoDebtPlan(true);
  plan.Run();
  plan.ResetAll();
  plan.Run();
  EXPECT_EQ(plan.GetTotalInterest(), M(147.7641));
  EXPECT_EQ(plan.GetDebtFreeMonths(), 16);
}

TEST(LoansTest, NoLoansComputesNothing) {
  LoanSchedule plan;
  plan.Run();
  EXPECT_EQ(plan.GetDebtFreeMonths(), 0);
  EXPECT_EQ(plan.GetDebtFreeDate(), 0);
  EXPECT_EQ(plan.GetTotalInterest(), Money());
  EXPECT_EQ(plan.GetTotalMonthlyOutlay(), Money());
  EXPECT_EQ(plan.GetFirstMonthWithinBudget(), 0);
  EXPECT_EQ(plan.GetOrderIndex(0), 0);
}

TEST(LoansTest, PriorityOrdersAreStableAndRanksSkipEmptyDebts) {
  struct Case {
    int code;
    std::vector<int> order;
  } cases[] = {
      {0, {1, 3, 0, 2}},  // rates .10 .18 .10 .18: equal rates keep the listed order
      {1, {3, 0, 1, 2}},  // balances 300 200 0 500
      {2, {2, 0, 3, 1}},  // payments 30 20 40 25
      {3, {0, 2, 1, 3}}, {4, {2, 1, 0, 3}},  {5, {1, 3, 0, 2}},
      {6, {0, 1, 2, 3}}, {42, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    LoanSchedule plan;
    AddDebts(plan, {{300, 0.10, 0, 30}, {200, 0.18, 0, 20}, {0, 0.10, 0, 40}, {500, 0.18, 0, 25}},
             true);
    plan.SortByPriority(PriorityFromCode(c.code));
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(plan.GetOrderIndex(i), c.order[i]) << "code " << c.code << " position " << i;
    EXPECT_EQ(plan.GetLoan(2)->PayoffOrder(), 0) << "code " << c.code;
    // Ranks count from 1 at the first debt with a balance, in order.
    int expected = 0;
    for (int i = 0; i < 4; ++i) {
      const Loan& loan = *plan.GetLoan(plan.GetOrderIndex(i));
      if (loan.Balance() > Money()) {
        EXPECT_EQ(loan.PayoffOrder(), i + 1 - (c.order[0] == 2 ? 1 : 0)) << "code " << c.code;
        ++expected;
      }
    }
    EXPECT_EQ(expected, 3);
  }
}

TEST(LoansTest, ADebtWithoutBalanceIsNeverStepped) {
  LoanSchedule plan;
  AddDebts(plan, {{0, 0.12, 10, 10}, {100, 0.12, 10, 50}}, false);
  plan.Run();
  EXPECT_EQ(plan.GetLoan(0)->ComputedMonths(), 0);
  EXPECT_EQ(plan.GetLoan(0)->PayoffMonths(), 0);
  EXPECT_EQ(plan.GetLoan(1)->PayoffMonths(), 3);
}

TEST(LoansTest, MinimumsAboveTheBudgetLeaveNoPool) {
  LoanSchedule plan;
  AddDebts(plan, {{1000, 0, 80, 100}, {2000, 0, 80, 100}}, true);
  plan.SetTotalPayment(M(100));  // less than the 160 of minimums
  plan.Run();
  EXPECT_EQ(plan.GetTotalExtraPayment(0), Money());
  EXPECT_EQ(plan.GetTotalPayment(0), M(160));
  EXPECT_EQ(plan.GetTotalMonthlyOutlay(), M(160));
  // The first debt pays 80 in months 0 to 11 and its last 40 in month 12, so 120 is due
  // then; from month 13 only the second debt's 80 is.
  EXPECT_EQ(plan.GetLoan(0)->PayoffMonths(), 13);
  EXPECT_EQ(plan.GetTotalPaymentDue(12), M(120));
  EXPECT_EQ(plan.GetFirstMonthWithinBudget(), 13);
  EXPECT_EQ(plan.GetTotalExtraPayment(13), M(20));
}

TEST(LoansTest, FirstMonthWithinBudgetWhenAMinimumDrops) {
  LoanSchedule plan;
  AddDebts(plan, {{100, 0, 60, 60}, {2000, 0, 60, 60}}, true);
  plan.SetTotalPayment(M(100));
  plan.Run();
  // Month 0: 120 due. Debt 0 pays 60 and 40 (the minimum caps at what is owed) in month 1.
  EXPECT_EQ(plan.GetTotalPaymentDue(0), M(120));
  EXPECT_EQ(plan.GetLoan(0)->PayoffMonths(), 2);
  EXPECT_EQ(plan.GetFirstMonthWithinBudget(), 1);
  plan.SetMonthlyFee(M(25));
  EXPECT_EQ(plan.GetBudget(), M(75));
}

TEST(LoansTest, AnnualLumpSumFallsInTheChosenCalendarMonth) {
  struct Case {
    int month;
    std::vector<int> lumpMonths;
  } cases[] = {{3, {0, 12, 24}}, {12, {9, 21, 33}}, {1, {10, 22, 34}}};
  for (const Case& c : cases) {
    LoanSchedule plan;
    plan.SetPlanDate(EncodeDate(2010, 3, 20));
    AddDebts(plan, {{100000, 0.05, 500, 500}}, true);
    plan.ComputeTotalPayment();
    plan.SetAnnualAccelerator(M(1000));
    plan.SetAcceleratorMonth(c.month);
    plan.Run();
    for (int m = 0; m < 36; ++m) {
      const bool lump =
          std::find(c.lumpMonths.begin(), c.lumpMonths.end(), m) != c.lumpMonths.end();
      EXPECT_EQ(plan.GetBudgetOfMonth(m), M(lump ? 1500 : 500))
          << "month " << c.month << " m " << m;
      EXPECT_EQ(plan.GetLoan(0)->GetExtraPayment(m), M(lump ? 1000 : 0))
          << "month " << c.month << " m " << m;
    }
  }
}

TEST(LoansTest, MaximizeWealthLeavesLowRateDebtsToTheirMinimums) {
  LoanSchedule plan;
  AddDebts(plan, {{1000, 0.10, 20, 50}, {1000, 0.07, 20, 50}}, true);
  plan.ComputeTotalPayment();
  plan.SetMaximizeWealth(true);
  plan.SetReturnRate(0.08);
  plan.Run();
  const Loan& high = *plan.GetLoan(0);
  const Loan& low = *plan.GetLoan(1);
  for (int m = 0; m < low.ComputedMonths(); ++m) ASSERT_EQ(low.GetExtraPayment(m), Money()) << m;
  EXPECT_EQ(high.GetExtraPayment(0), M(60));
  // Once the high-rate debt is gone the pool is left unspent for investing.
  const int after = high.PayoffMonths() + 1;
  EXPECT_EQ(plan.GetTotalPayment(after) + plan.GetTotalExtraPayment(after), M(20));
  EXPECT_EQ(plan.GetBudgetOfMonth(after), M(100));
}

TEST(LoansTest, ADebtThatNeverCoversItsInterestRunsTheFullLimit) {
  LoanSchedule plan;
  AddDebts(plan, {{1000, 0.12, 5, 5}, {500, 0.12, 50, 50}}, false);
  plan.Run();
  EXPECT_EQ(plan.GetLoan(0)->ComputedMonths(), Loan::kMaxMonths);
  EXPECT_EQ(plan.GetLoan(0)->PayoffMonths(), 0);
  EXPECT_EQ(plan.GetLoan(0)->PayoffDate(), 0);
  EXPECT_GT(plan.GetLoan(1)->PayoffMonths(), 0);
  EXPECT_EQ(plan.GetDebtFreeMonths(), plan.GetLoan(1)->PayoffMonths());
  EXPECT_EQ(plan.GetTotalInterest(), plan.GetLoan(1)->TotalInterest());
}

TEST(LoansTest, SetPlanDateReachesLoansAlreadyAdded) {
  LoanSchedule plan;
  AddDebts(plan, {{100, 0, 0, 50}}, false);
  plan.SetPlanDate(EncodeDate(2020, 1, 31));
  plan.Run();
  EXPECT_EQ(plan.GetLoan(0)->PayoffDate(), EncodeDate(2020, 3, 31));
  EXPECT_EQ(plan.GetTotalEscrow(), Money());
}

}  // namespace
}  // namespace ardvane
