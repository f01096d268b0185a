#include "engine/loan.h"

#include <algorithm>
#include <cmath>

namespace ardvane {
namespace {

// amount x fraction, skipping the rounding work for the common fraction 0.
[[gnu::always_inline]] inline Money Times(Money amount, double fraction) {
  return fraction == 0 ? Money() : amount * fraction;
}

}  // namespace

Loan::Loan() {
  beginBalance_.reserve(kReservedMonths + 1);
  monthInterest_.reserve(kReservedMonths);
  monthPayment_.reserve(kReservedMonths);
}

void Loan::SetBalance(Money amount) {
  if (!beginBalance_.empty() && amount == balance_) return;
  balance_ = amount;
  StoreRecord(beginBalance_, 0, amount);
}

void Loan::SetInterestRate(double annualRate) {
  if (annualRate == interestRate_) return;
  interestRate_ = annualRate;
  monthlyRate_ = static_cast<long double>(annualRate) / 12.0L;
  DeriveEffectiveRate();
}

void Loan::SetCompoundingPeriod(int code) {
  if (code == compoundingPeriod_) return;
  compoundingPeriod_ = code;
  DeriveEffectiveRate();
}

// The rate charged per month when interest compounds every `a` months (a day being a
// thirtieth of a month): (1 + a r)^(1/a) - 1.
void Loan::DeriveEffectiveRate() {
  const long double r = monthlyRate_;
  if (compoundingPeriod_ == 1 || r == 0) {
    effectiveMonthlyRate_ = r;
    return;
  }
  const long double a = compoundingPeriod_ == 0 ? 1.0L / 30.0L : compoundingPeriod_;
  const long double growth = 1.0L + a * r;
  // A rate so negative that a period would take more than everything: all of it goes.
  effectiveMonthlyRate_ = growth <= 0 ? -1.0L : std::expm1l(std::log1pl(a * r) / a);
}

Money Loan::GetScheduledPayment() const {
  if (useMinimum_ || interestOnly_) {
    return Max(Times(balance_, minimumPaymentPercent_), minimumPaymentAmount_);
  }
  return currentPayment_;
}

Money Loan::GetPaymentDue(int m) const {
  if (m < 0 || m >= static_cast<int>(beginBalance_.size()) - 1) return Money();
  const Money begin = beginBalance_[m];
  if (begin <= Money()) return Money();
  const Money interest = GetInterest(m);
  if (m == termMonths_ - 1) return begin + interest;
  if (interestOnly_) return interest;
  return Min(begin + interest, Max(Times(begin, minimumPaymentPercent_), minimumPaymentAmount_));
}

void Loan::SetExtraPayment(int m, Money amount) {
  if (m >= 0) StoreRecord(extraPayment_, m, amount);
}

void Loan::StepMonth(int m) {
  if (m < 0) return;
  const Money begin = GetBeginBalance(m);
  const Money interest = effectiveMonthlyRate_ == 0 ? Money() : begin * effectiveMonthlyRate_;
  const Money owed = begin + interest;

  Money payment;
  if (interestOnly_) {
    payment = interest;
  } else if (accelerated_ || useMinimum_) {
    payment = Max(Times(begin, minimumPaymentPercent_), minimumPaymentAmount_);
  } else {
    payment = Max(Times(begin, minimumPaymentPercent_), currentPayment_);
  }
  if (m == termMonths_ - 1) payment = owed;
  payment = Min(payment, owed);

  StoreRecord(monthInterest_, m, interest);
  StoreRecord(monthPayment_, m, payment);

  Money extra;
  if (accelerated_) extra = Min(GetExtraPayment(m), owed - payment);
  if (extra != Money() || m < static_cast<int>(extraPayment_.size())) {
    StoreRecord(extraPayment_, m, extra);
  }

  const Money end = owed - payment - extra;
  StoreRecord(beginBalance_, m + 1, end);

  if (end <= Money()) {
    payoffMonths_ = m + 1;
    payoffDate_ = AddMonths(startDate_, m + 1);
    Money total;
    for (const Money entry : monthInterest_) total += entry;
    totalInterest_ = total;
  }
}

void Loan::CountInterestOver(int horizonMonths) {
  if (!NeverPaidOff()) return;
  const int months = std::clamp(horizonMonths, 0, ComputedMonths());
  Money total;
  for (int m = 0; m < months; ++m) total += monthInterest_[m];
  totalInterest_ = total;
}

void Loan::ResetSchedule() {
  beginBalance_.resize(1);
  monthInterest_.clear();
  monthPayment_.clear();
  extraPayment_.clear();
  totalInterest_ = Money();
  payoffMonths_ = 0;
  payoffDate_ = 0;
}

}  // namespace ardvane
