#include "engine/loan_schedule.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ardvane {

void LoanSchedule::SetAccelerator(Money amount) {
  if (amount == accelerator_) return;
  accelerator_ = amount;
  RecomputeBudget();
}

void LoanSchedule::SetMonthlyFee(Money amount) {
  if (amount == monthlyFee_) return;
  monthlyFee_ = amount;
  RecomputeBudget();
}

void LoanSchedule::SetTotalPayment(Money amount) {
  if (amount == totalPayment_) return;
  totalPayment_ = amount;
  RecomputeBudget();
}

void LoanSchedule::SetPlanDate(DayNumber date) {
  planDate_ = date;
  for (auto& loan : items_) loan->SetStartDate(date);
}

Loan& LoanSchedule::AddLoan(Money balance, double rate, double minimumPercent, Money minimumAmount,
                            Money currentPayment) {
  auto loan = std::make_unique<Loan>();
  loan->SetBalance(balance);
  loan->SetInterestRate(rate);
  loan->SetMinimumPaymentPercent(minimumPercent);
  loan->SetMinimumPaymentAmount(minimumAmount);
  loan->SetCurrentPayment(currentPayment);
  loan->SetStartDate(planDate_);
  items_.push_back(std::move(loan));
  return *items_.back();
}

Loan* LoanSchedule::GetLoan(int index) {
  return index >= 0 && index < GetCount() ? items_[index].get() : nullptr;
}

const Loan* LoanSchedule::GetLoan(int index) const {
  return index >= 0 && index < GetCount() ? items_[index].get() : nullptr;
}

void LoanSchedule::ComputeTotalPayment() {
  Money total;
  for (const auto& loan : items_) total += loan->GetScheduledPayment();
  totalPayment_ = total;
  RecomputeBudget();
}

void LoanSchedule::SortByPriority(PaydownPriority priority) {
  const int n = GetCount();
  order_.resize(n);
  for (int i = 0; i < n; ++i) order_[i] = i;

  // Whether the later of two loans goes first; equal keys keep the listed order.
  const auto preferred = [priority](const Loan& earlier, const Loan& later) {
    switch (priority) {
      case PaydownPriority::HighestInterestRate:
        return later.InterestRate() > earlier.InterestRate();
      case PaydownPriority::HighestBalance:
        return later.Balance() > earlier.Balance();
      case PaydownPriority::HighestPayment:
        return later.GetScheduledPayment() > earlier.GetScheduledPayment();
      case PaydownPriority::LowestInterestRate:
        return later.InterestRate() < earlier.InterestRate();
      case PaydownPriority::LowestBalance:
        return later.Balance() < earlier.Balance();
      case PaydownPriority::LowestPayment:
        return later.GetScheduledPayment() < earlier.GetScheduledPayment();
      default:
        return false;
    }
  };
  // Any other priority keeps the listed order.
  const int code = PriorityCode(priority);
  if (code >= 0 && code <= 5) {
    // The order is the one that swapping neighbours, only where the later loan is preferred,
    // ends in. With keys that order strictly that is the stable sort. A rate that is not a
    // number is neither above nor below any other, so such a loan is never swapped: it keeps
    // its place, no loan passes it, and the loans between two of them sort on their own.
    const bool byRate = priority == PaydownPriority::HighestInterestRate ||
                        priority == PaydownPriority::LowestInterestRate;
    const auto fixed = [&](int index) {
      return byRate && std::isnan(items_[index]->InterestRate());
    };
    const auto goesFirst = [&](int a, int b) { return preferred(*items_[b], *items_[a]); };
    auto begin = order_.begin();
    while (begin != order_.end()) {
      const auto end = std::find_if(begin, order_.end(), fixed);
      std::stable_sort(begin, end, goesFirst);
      begin = end == order_.end() ? end : end + 1;
    }
  }

  int firstWithBalance = -1;
  for (int i = 0; i < n; ++i) {
    Loan& loan = *items_[order_[i]];
    if (loan.Balance() > Money()) {
      if (firstWithBalance < 0) firstWithBalance = i;
      loan.SetPayoffOrder(i + 1 - firstWithBalance);
    } else {
      loan.SetPayoffOrder(0);
    }
  }
}

void LoanSchedule::Run() {
  if (budget_ == Money()) ComputeTotalPayment();
  SortByPriority(priority_);
  // The month comes from the plan as typed or read and can be any number, so the offset is
  // worked out wide. Months 1 to 12 give 0 to 11; so can a month from 0 down to -11 (as it
  // always has); any other number gives no offset, and the lump sum is never paid.
  long long offset = static_cast<long long>(acceleratorMonth_) - MonthOf(planDate_);
  if (offset < 0) offset += 12;
  annualMonthOffset_ = offset >= 0 && offset < 12 ? static_cast<int>(offset) : -1;

  budgetByMonth_.clear();
  budgetByMonth_.reserve(Loan::kMaxMonths);
  // Loans in payoff order that still have a record for the month; the others add nothing
  // to any total, so they are dropped as they run out.
  std::vector<Loan*> live;
  live.reserve(order_.size());
  for (const int index : order_) live.push_back(items_[index].get());

  // Only accelerated loans take extra money; a plan without any skips the second pass.
  const bool anyTakesExtra = std::any_of(items_.begin(), items_.end(),
                                         [](const auto& loan) { return loan->Accelerated(); });

  // Each month visits every live loan twice, since a plan of many debts is bound by memory
  // more than by arithmetic: once to drop the finished loans while totalling the opening
  // balances, once to step the loans and total their minimums due (a loan's due depends only
  // on the loan itself, so it can be read right after its step).
  for (int m = 0; m < Loan::kMaxMonths; ++m) {
    Money openingTotal;
    size_t kept = 0;
    for (size_t k = 0; k < live.size(); ++k) {
      Loan* loan = live[k];
      if (loan->ComputedMonths() < m) continue;
      openingTotal += loan->GetBeginBalance(m);
      live[kept++] = loan;
    }
    live.resize(kept);
    if (openingTotal <= Money()) break;

    Money due;
    for (Loan* loan : live) {
      if (loan->GetBeginBalance(m) > Money()) loan->StepMonth(m);
      due += loan->GetPaymentDue(m);
    }
    budgetByMonth_.push_back(IsAnnualMonth(m) ? budget_ + annualAccelerator_ : budget_);
    if (!anyTakesExtra) continue;

    Money pool = Max(Money(), budgetByMonth_[m] - due);
    for (Loan* loan : live) {
      // A loan that takes nothing would only repeat the first pass: skip the step.
      if (pool == Money()) break;
      if (!loan->Accelerated() || loan->GetBeginBalance(m) <= Money()) continue;
      if (maximizeWealth_ && loan->InterestRate() < returnRate_) continue;
      loan->SetExtraPayment(m, pool);
      loan->StepMonth(m);
      pool -= loan->GetExtraPayment(m);
    }
  }
}

void LoanSchedule::ResetAll() {
  for (auto& loan : items_) loan->ResetSchedule();
}

void LoanSchedule::CountInterestOver(int horizonMonths) {
  for (auto& loan : items_) loan->CountInterestOver(horizonMonths);
}

Money LoanSchedule::GetTotalInterest() const {
  Money total;
  for (const auto& loan : items_) total += loan->TotalInterest();
  return total;
}

int LoanSchedule::GetDebtFreeMonths() const {
  int months = 0;
  for (const auto& loan : items_) months = std::max(months, loan->PayoffMonths());
  return months;
}

DayNumber LoanSchedule::GetDebtFreeDate() const {
  DayNumber latest = 0;
  for (const auto& loan : items_) {
    if (loan->PayoffDate() != 0 && (latest == 0 || loan->PayoffDate() > latest)) {
      latest = loan->PayoffDate();
    }
  }
  return latest;
}

Money LoanSchedule::GetTotalBeginBalance(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetBeginBalance(m); });
}
Money LoanSchedule::GetTotalInterestOfMonth(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetInterest(m); });
}
Money LoanSchedule::GetTotalPayment(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetPayment(m); });
}
Money LoanSchedule::GetTotalExtraPayment(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetExtraPayment(m); });
}
Money LoanSchedule::GetTotalEndBalance(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetEndBalance(m); });
}
Money LoanSchedule::GetTotalPaymentDue(int m) const {
  return SumOverLoans([m](const Loan& loan) { return loan.GetPaymentDue(m); });
}

Money LoanSchedule::GetBudgetOfMonth(int m) const {
  if (m >= 0 && m < static_cast<int>(budgetByMonth_.size())) return budgetByMonth_[m];
  return IsAnnualMonth(m) ? budget_ + annualAccelerator_ : budget_;
}

int LoanSchedule::GetOrderIndex(int position) const {
  return position >= 0 && position < static_cast<int>(order_.size()) ? order_[position] : 0;
}

Money LoanSchedule::GetTotalEscrow() const {
  Money total;
  for (const auto& loan : items_) total += loan->Escrow();
  return total;
}

Money LoanSchedule::GetTotalMonthlyOutlay() const {
  return Max(GetTotalPaymentDue(0), budget_) + monthlyFee_;
}

int LoanSchedule::GetFirstMonthWithinBudget() const {
  if (GetTotalPaymentDue(0) <= budget_) return 0;
  const int last = GetDebtFreeMonths();
  for (int m = 1; m < last; ++m) {
    if (GetTotalPaymentDue(m) <= budget_) return m;
  }
  return last;
}

}  // namespace ardvane
