#pragma once

#include <vector>

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/month_records.h"

namespace ardvane {

// One debt paid off month by month. Its terms are set first; the plan simulation (LoanSchedule)
// then steps it from month 0, the calendar month of the plan date, writing one record per
// month. Rates are fractions (0.18 is 18 % a year); amounts are Money.
class Loan {
 public:
  // No schedule ever runs longer than this.
  static constexpr int kMaxMonths = 1080;
  // Months reserved up front: most debts are gone within ten years, so stepping a month
  // rarely allocates, and a longer schedule grows geometrically (a handful of times at most).
  static constexpr int kReservedMonths = 120;

  Loan();

  // Setters store a value only when it differs, then re-derive what depends on it.
  void SetBalance(Money amount);            // also BeginBalance[0]
  void SetInterestRate(double annualRate);  // re-derives the monthly rates
  void SetCompoundingPeriod(int code);      // months per period, 0 daily; re-derives
  void SetAccelerated(bool value) { accelerated_ = value; }
  void SetUseMinimum(bool value) { useMinimum_ = value; }
  void SetInterestOnly(bool value) { interestOnly_ = value; }
  void SetMinimumPaymentPercent(double fraction) { minimumPaymentPercent_ = fraction; }
  void SetMinimumPaymentAmount(Money amount) { minimumPaymentAmount_ = amount; }
  void SetCurrentPayment(Money amount) { currentPayment_ = amount; }
  void SetEscrow(Money amount) { escrow_ = amount; }
  // 0, or the 1-based month in which the whole balance and that month's interest fall due.
  void SetTermMonths(int months) { termMonths_ = months; }
  void SetStartDate(DayNumber date) { startDate_ = date; }
  void SetPayoffOrder(int rank) { payoffOrder_ = rank; }

  bool Accelerated() const { return accelerated_; }
  bool UseMinimum() const { return useMinimum_; }
  bool InterestOnly() const { return interestOnly_; }
  Money Balance() const { return balance_; }
  double InterestRate() const { return interestRate_; }
  long double MonthlyRate() const { return monthlyRate_; }
  long double EffectiveMonthlyRate() const { return effectiveMonthlyRate_; }
  int CompoundingPeriod() const { return compoundingPeriod_; }
  double MinimumPaymentPercent() const { return minimumPaymentPercent_; }
  Money MinimumPaymentAmount() const { return minimumPaymentAmount_; }
  Money CurrentPayment() const { return currentPayment_; }
  Money Escrow() const { return escrow_; }
  int TermMonths() const { return termMonths_; }
  DayNumber StartDate() const { return startDate_; }
  int PayoffOrder() const { return payoffOrder_; }

  // Payoff results; all 0 while the balance has not reached 0 (a debt never paid off).
  int PayoffMonths() const { return payoffMonths_; }
  // A starting balance above 0 that the schedule never brings to 0.
  bool NeverPaidOff() const { return balance_ > Money() && payoffMonths_ == 0; }
  double PayoffYears() const { return payoffMonths_ / 12.0; }
  DayNumber PayoffDate() const { return payoffDate_; }
  // The interest of the months until payoff; for a debt never paid off, the interest of the
  // months counted by CountInterestOver (0 until it is called).
  Money TotalInterest() const { return totalInterest_; }

  // Plans are compared over the same months: a debt never paid off counts as its total interest
  // the interest of its months 0 .. horizonMonths - 1, so that it costs what it costs within the
  // horizon rather than nothing. A debt paid off keeps its own total. ResetSchedule undoes it.
  void CountInterestOver(int horizonMonths);

  // The payment the plan counts on from the start: the minimum (the larger of the percent of
  // the starting balance and the minimum amount) for a minimum-only or interest-only debt,
  // else the current payment.
  Money GetScheduledPayment() const;
  // The minimum due in an already computed month m; 0 for months not computed or opened with
  // no balance. In the loan's last term month it is everything owed.
  Money GetPaymentDue(int m) const;

  // Records of month m; 0 where there is no entry.
  Money GetBeginBalance(int m) const { return RecordAt(beginBalance_, m); }
  Money GetInterest(int m) const { return RecordAt(monthInterest_, m); }
  Money GetPayment(int m) const { return RecordAt(monthPayment_, m); }
  Money GetExtraPayment(int m) const { return RecordAt(extraPayment_, m); }
  // A month ends with the balance the next one begins with.
  Money GetEndBalance(int m) const {
    return m >= 0 && m < ComputedMonths() ? RecordAt(beginBalance_, m + 1) : Money();
  }
  Money GetTotalPaid(int m) const { return GetPayment(m) + GetExtraPayment(m); }
  // Number of months computed so far.
  int ComputedMonths() const { return static_cast<int>(monthPayment_.size()); }

  // Offers extra money for month m before it is (re)computed.
  void SetExtraPayment(int m, Money amount);
  // Computes month m from BeginBalance[m]; may be called again for the same month, which
  // overwrites that month's records using the extra payment offered in between.
  void StepMonth(int m);
  // Back to the state before month 0, terms kept.
  void ResetSchedule();

 private:
  void DeriveEffectiveRate();

  bool accelerated_ = false;
  bool useMinimum_ = false;
  bool interestOnly_ = false;
  Money balance_;
  double interestRate_ = 0;
  // Held in extended precision: an annual 6 % arrives as the double just below 0.06, and
  // its twelfth must stay just below 0.005 for interest to round as the figures expect.
  long double monthlyRate_ = 0;
  long double effectiveMonthlyRate_ = 0;
  int compoundingPeriod_ = 0;
  double minimumPaymentPercent_ = 0;
  Money minimumPaymentAmount_;
  Money currentPayment_;
  Money escrow_;
  int termMonths_ = 0;
  DayNumber startDate_ = 0;
  int payoffOrder_ = 0;

  std::vector<Money> beginBalance_;
  std::vector<Money> monthInterest_;
  std::vector<Money> monthPayment_;
  // Empty, or up to the last month with an extra payment: a debt that is not accelerated
  // has none, and a plan of thousands of debts of 1,080 months holds no zeros for them.
  std::vector<Money> extraPayment_;

  int payoffMonths_ = 0;
  DayNumber payoffDate_ = 0;
  Money totalInterest_;
};

}  // namespace ardvane
