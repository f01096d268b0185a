#include "engine/asset.h"

#include <cmath>

#include "engine/loan.h"

namespace ardvane {

InvestmentAsset::InvestmentAsset() {
  beginValue_.reserve(Loan::kMaxMonths + 1);
  growth_.reserve(Loan::kMaxMonths);
  contribution_.reserve(Loan::kMaxMonths);
  endValue_.reserve(Loan::kMaxMonths);
}

void InvestmentAsset::SetReturnRate(double annualRate) {
  if (annualRate == returnRate_) return;
  returnRate_ = annualRate;
  const long double growth = 1.0L + annualRate;
  // A loss of everything or more leaves nothing to grow.
  monthlyReturnRate_ =
      growth <= 0 ? -1.0 : static_cast<double>(std::expm1l(std::log1pl(annualRate) / 12.0L));
}

void InvestmentAsset::SetContribution(int m, Money amount) {
  if (m >= 0) StoreRecord(contribution_, m, amount);
}

void InvestmentAsset::StepMonth(int m) {
  if (m < 0) return;
  const Money begin = GetBeginValue(m);
  const Money growth = begin * monthlyReturnRate_;
  const Money end = begin + growth + GetContribution(m);
  StoreRecord(beginValue_, m, begin);
  StoreRecord(growth_, m, growth);
  StoreRecord(contribution_, m, GetContribution(m));
  StoreRecord(endValue_, m, end);
  StoreRecord(beginValue_, m + 1, end);
}

}  // namespace ardvane
