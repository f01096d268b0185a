#pragma once

#include <memory>
#include <vector>

#include "engine/calendar.h"
#include "engine/loan.h"
#include "engine/money.h"
#include "engine/paydown_priority.h"

namespace ardvane {

// A set of debts paid off together from the plan date. Each month every debt pays its
// scheduled payment; the money the budget leaves over after the minimums due (the pool)
// goes as extra payment to the debts one after the other in payoff order. A debt paid off
// frees its payment for the next one in the following months. No run goes beyond
// Loan::kMaxMonths months; a debt still owing then is never paid off.
class LoanSchedule {
 public:
  LoanSchedule() = default;
  LoanSchedule(LoanSchedule&&) = default;
  LoanSchedule& operator=(LoanSchedule&&) = default;

  // Setters store a value only when it differs; the first three recompute the budget.
  void SetAccelerator(Money amount);
  void SetMonthlyFee(Money amount);
  void SetTotalPayment(Money amount);
  void SetAnnualAccelerator(Money amount) { annualAccelerator_ = amount; }
  // 1..12; any other number is kept as it is (see Run for what it then means).
  void SetAcceleratorMonth(int month) { acceleratorMonth_ = month; }
  void SetReturnRate(double fraction) { returnRate_ = fraction; }
  void SetMaximizeWealth(bool value) { maximizeWealth_ = value; }
  // Ordering code 0..5; anything else keeps the listed order.
  void SetPriority(PaydownPriority priority) { priority_ = priority; }
  // Also gives every loan already added this start date.
  void SetPlanDate(DayNumber date);

  // Appends a loan with these terms and the plan date as its start; further terms are set on
  // the returned loan (also reachable as GetLoan(GetCount() - 1)).
  Loan& AddLoan(Money balance, double rate, double minimumPercent, Money minimumAmount,
                Money currentPayment);
  Loan* GetLoan(int index);
  const Loan* GetLoan(int index) const;
  int GetCount() const { return static_cast<int>(items_.size()); }

  // TotalPayment becomes the sum of the loans' scheduled payments.
  void ComputeTotalPayment();
  // Builds the payoff order for an ordering code and every loan's PayoffOrder rank.
  void SortByPriority(PaydownPriority priority);
  void Run();
  // Clears every loan's schedule so that Run can be repeated with other settings.
  void ResetAll();

  // Counts every debt never paid off with its interest of months 0 .. horizonMonths - 1 (see
  // Loan::CountInterestOver); until then such a debt adds no interest to GetTotalInterest.
  void CountInterestOver(int horizonMonths);
  Money GetTotalInterest() const;
  // The month after the last payoff of a debt that is paid off (debts never paid off aside).
  int GetDebtFreeMonths() const;
  double GetDebtFreeYears() const { return GetDebtFreeMonths() / 12.0; }
  DayNumber GetDebtFreeDate() const;
  Money GetTotalBeginBalance(int m) const;
  Money GetTotalInterestOfMonth(int m) const;
  Money GetTotalPayment(int m) const;
  Money GetTotalExtraPayment(int m) const;
  Money GetTotalEndBalance(int m) const;
  Money GetTotalPaymentDue(int m) const;
  Money GetBudgetOfMonth(int m) const;
  int GetOrderIndex(int position) const;
  Money GetTotalEscrow() const;
  // The larger of the month-0 minimums due and the budget, plus the monthly fee.
  Money GetTotalMonthlyOutlay() const;
  // The first month whose minimums due fit the budget, at most the debt-free month.
  int GetFirstMonthWithinBudget() const;
  Money GetBudget() const { return budget_; }

  Money Accelerator() const { return accelerator_; }
  Money MonthlyFee() const { return monthlyFee_; }
  Money TotalPayment() const { return totalPayment_; }
  Money AnnualAccelerator() const { return annualAccelerator_; }
  int AcceleratorMonth() const { return acceleratorMonth_; }
  // The first schedule month (0 to 11) that adds the annual accelerator, or -1 for none.
  int AnnualMonthOffset() const { return annualMonthOffset_; }
  double ReturnRate() const { return returnRate_; }
  bool MaximizeWealth() const { return maximizeWealth_; }
  PaydownPriority Priority() const { return priority_; }
  DayNumber PlanDate() const { return planDate_; }

 private:
  void RecomputeBudget() { budget_ = totalPayment_ + accelerator_ - monthlyFee_; }
  template <typename Record>
  Money SumOverLoans(Record record) const {
    Money total;
    for (const auto& loan : items_) total += record(*loan);
    return total;
  }
  bool IsAnnualMonth(int m) const { return m >= 0 && m % 12 == annualMonthOffset_; }

  PaydownPriority priority_ = PaydownPriority::HighestInterestRate;
  DayNumber planDate_ = 0;
  Money accelerator_;
  Money monthlyFee_;
  Money totalPayment_;
  Money budget_;
  Money annualAccelerator_;
  int acceleratorMonth_ = 0;
  int annualMonthOffset_ = 0;
  bool maximizeWealth_ = false;
  double returnRate_ = 0;
  std::vector<std::unique_ptr<Loan>> items_;
  std::vector<int> order_;
  std::vector<Money> budgetByMonth_;
};

}  // namespace ardvane
