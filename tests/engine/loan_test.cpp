#include "engine/loan.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::M;

// A loan as the plan simulation sets one up, stepped alone until paid off or out of months.
Loan MakeLoan(long double balance, double rate, long double payment, int compounding = 1) {
  Loan loan;
  loan.SetBalance(M(balance));
  loan.SetInterestRate(rate);
  loan.SetCurrentPayment(M(payment));
  loan.SetCompoundingPeriod(compounding);
  loan.SetStartDate(EncodeDate(2008, 1, 15));
  return loan;
}

void RunAlone(Loan& loan) {
  for (int m = 0; m < Loan::kMaxMonths && loan.GetBeginBalance(m) > Money(); ++m) loan.StepMonth(m);
}

// Cross-checks every schedule must satisfy.
void ExpectConsistentSchedule(const Loan& loan) {
  Money interest;
  for (int m = 0; m < loan.ComputedMonths(); ++m) {
    EXPECT_EQ(loan.GetBeginBalance(m) + loan.GetInterest(m) - loan.GetPayment(m) -
                  loan.GetExtraPayment(m),
              loan.GetEndBalance(m))
        << "month " << m;
    EXPECT_EQ(loan.GetEndBalance(m), loan.GetBeginBalance(m + 1)) << "month " << m;
    interest += loan.GetInterest(m);
  }
  if (loan.PayoffMonths() > 0) {
    EXPECT_EQ(interest, loan.TotalInterest());
  }
}

TEST(LoanTest, ThousandAtTwelvePercentPaysOffInElevenMonths) {
  Loan loan = MakeLoan(1000, 0.12, 100);
  RunAlone(loan);
  EXPECT_EQ(loan.GetInterest(0), M(10));
  EXPECT_EQ(loan.GetPayment(0), M(100));
  EXPECT_EQ(loan.GetEndBalance(0), M(910));
  EXPECT_EQ(loan.PayoffMonths(), 11);
  EXPECT_DOUBLE_EQ(loan.PayoffYears(), 11.0 / 12);
  EXPECT_EQ(loan.GetPayment(10), M(58.9848));
  EXPECT_EQ(loan.GetEndBalance(10), Money());
  EXPECT_EQ(loan.TotalInterest(), M(58.9848));
  EXPECT_EQ(loan.PayoffDate(), EncodeDate(2008, 12, 15));
  ExpectConsistentSchedule(loan);
}

TEST(LoanTest, EffectiveMonthlyRateFollowsTheCompoundingPeriod) {
  const long double r = 0.01L;
  struct Case {
    int code;
    long double expected;
  } cases[] = {
      {1, r},
      {0, std::pow(1 + r / 30, 30.0L) - 1},
      {3, std::pow(1 + 3 * r, 1.0L / 3) - 1},
      {6, std::pow(1 + 6 * r, 1.0L / 6) - 1},
      {12, std::pow(1 + 12 * r, 1.0L / 12) - 1},
  };
  for (const Case& c : cases) {
    Loan loan;
    loan.SetInterestRate(0.12);
    loan.SetCompoundingPeriod(c.code);
    EXPECT_NEAR(static_cast<double>(loan.EffectiveMonthlyRate()), static_cast<double>(c.expected),
                1e-16)
        << "code " << c.code;
  }
  Loan daily;
  daily.SetInterestRate(0.12);  // a new loan's code is 0: the daily rate applies
  EXPECT_GT(daily.EffectiveMonthlyRate(), 0.01L);
  for (int code : {0, 1, 3, 6, 12}) {
    Loan zero;
    zero.SetCompoundingPeriod(code);
    zero.SetInterestRate(0);
    EXPECT_EQ(zero.EffectiveMonthlyRate(), 0) << code;
  }
}

TEST(LoanTest, APaymentBelowTheInterestNeverPaysOff) {
  Loan loan = MakeLoan(1000, 0.24, 15);
  RunAlone(loan);
  EXPECT_EQ(loan.ComputedMonths(), Loan::kMaxMonths);
  EXPECT_GT(loan.GetEndBalance(Loan::kMaxMonths - 1), loan.GetBeginBalance(0));
  EXPECT_EQ(loan.PayoffMonths(), 0);
  EXPECT_EQ(loan.PayoffDate(), 0);
  EXPECT_EQ(loan.TotalInterest(), Money());
  ExpectConsistentSchedule(loan);
}

TEST(LoanTest, HugeRatesSaturateWithoutBreakingTheSchedule) {
  Loan loan = MakeLoan(1e9L, 1e6, 1);
  RunAlone(loan);
  EXPECT_EQ(loan.PayoffMonths(), 0);
  EXPECT_GT(loan.GetEndBalance(Loan::kMaxMonths - 1), M(1e14L));
}

TEST(LoanTest, InterestOnlyPaysInterestUntilTheTermEnds) {
  Loan loan = MakeLoan(10000, 0.06, 0);
  loan.SetInterestOnly(true);
  loan.SetAccelerated(true);
  loan.SetTermMonths(120);
  RunAlone(loan);
  for (int m = 0; m < 119; ++m) {
    ASSERT_EQ(loan.GetPayment(m), M(50)) << m;
    ASSERT_EQ(loan.GetPaymentDue(m), M(50)) << m;
  }
  EXPECT_EQ(loan.GetPayment(119), M(10050));
  EXPECT_EQ(loan.GetPaymentDue(119), M(10050));
  EXPECT_EQ(loan.PayoffMonths(), 120);
  EXPECT_EQ(loan.TotalInterest(), M(6000));
  ExpectConsistentSchedule(loan);
}

TEST(LoanTest, MinimumIsTheLargerOfPercentAndAmount) {
  for (auto [balance, minimum] : {std::pair{500.0L, 25.0L}, {2000.0L, 60.0L}}) {
    Loan loan = MakeLoan(balance, 0, 500);
    loan.SetMinimumPaymentPercent(0.03);
    loan.SetMinimumPaymentAmount(M(25));
    loan.SetUseMinimum(true);
    EXPECT_EQ(loan.GetScheduledPayment(), M(minimum)) << static_cast<double>(balance);
    loan.StepMonth(0);
    EXPECT_EQ(loan.GetPayment(0), M(minimum)) << static_cast<double>(balance);
    EXPECT_EQ(loan.GetPaymentDue(0), M(minimum)) << static_cast<double>(balance);
  }
  Loan plain = MakeLoan(2000, 0, 75);
  plain.SetMinimumPaymentPercent(0.03);
  EXPECT_EQ(plain.GetScheduledPayment(), M(75));
  plain.StepMonth(0);
  EXPECT_EQ(plain.GetPayment(0), M(75));     // the current payment, above the minimum
  EXPECT_EQ(plain.GetPaymentDue(0), M(60));  // the minimum due ignores the current payment
}

TEST(LoanTest, ExtraPaymentIsCutToWhatIsOwed) {
  Loan loan = MakeLoan(1000, 0.12, 0);
  loan.SetAccelerated(true);
  loan.SetMinimumPaymentAmount(M(50));
  loan.SetExtraPayment(0, M(5000));
  loan.StepMonth(0);
  EXPECT_EQ(loan.GetPayment(0), M(50));
  EXPECT_EQ(loan.GetExtraPayment(0), M(960));
  EXPECT_EQ(loan.GetEndBalance(0), Money());
  EXPECT_EQ(loan.PayoffMonths(), 1);

  Loan notAccelerated = MakeLoan(1000, 0.12, 100);
  notAccelerated.SetExtraPayment(0, M(5000));
  notAccelerated.StepMonth(0);
  EXPECT_EQ(notAccelerated.GetExtraPayment(0), Money());
}

TEST(LoanTest, PaymentDueOnlyForComputedMonths) {
  Loan loan = MakeLoan(1000, 0.12, 100);
  EXPECT_EQ(loan.GetPaymentDue(0), Money());
  loan.SetMinimumPaymentAmount(M(40));
  loan.StepMonth(0);
  EXPECT_EQ(loan.GetPaymentDue(0), M(40));
  EXPECT_EQ(loan.GetPaymentDue(1), Money());
  EXPECT_EQ(loan.GetPaymentDue(-1), Money());
  EXPECT_EQ(loan.GetBeginBalance(1), M(910));
  EXPECT_EQ(loan.GetBeginBalance(2), Money());
}

TEST(LoanTest, ResetScheduleRunsTheSameAgain) {
  Loan loan = MakeLoan(2000, 0.06, 100, 0);
  RunAlone(loan);
  const Money interest = loan.TotalInterest();
  const int months = loan.PayoffMonths();
  loan.ResetSchedule();
  EXPECT_EQ(loan.ComputedMonths(), 0);
  EXPECT_EQ(loan.PayoffMonths(), 0);
  EXPECT_EQ(loan.GetBeginBalance(0), M(2000));
  RunAlone(loan);
  EXPECT_EQ(loan.TotalInterest(), interest);
  EXPECT_EQ(loan.PayoffMonths(), months);
}

TEST(LoanTest, ANewLoanStartsEmptyAndSetBalanceCreatesMonthZero) {
  Loan loan;
  EXPECT_EQ(loan.GetBeginBalance(0), Money());
  loan.SetBalance(Money());
  loan.StepMonth(0);  // nothing owed: nothing paid, paid off at once
  EXPECT_EQ(loan.GetPayment(0), Money());
  EXPECT_EQ(loan.PayoffMonths(), 1);
}

}  // namespace
}  // namespace ardvane
