#pragma once

#include <vector>

#include "engine/money.h"
#include "engine/month_records.h"

namespace ardvane {

// An investment account projected month by month: each month earns growth on its opening
// value, and the month's contribution is added at its end (earning nothing that month).
class InvestmentAsset {
 public:
  InvestmentAsset();

  // Annual growth rate as a fraction; the monthly rate is (1 + rate)^(1/12) - 1.
  void SetReturnRate(double annualRate);
  double ReturnRate() const { return returnRate_; }
  double MonthlyReturnRate() const { return monthlyReturnRate_; }

  void SetContribution(int m, Money amount);
  void StepMonth(int m);

  // Records of month m; 0 beyond what was computed.
  Money GetBeginValue(int m) const { return RecordAt(beginValue_, m); }
  Money GetGrowth(int m) const { return RecordAt(growth_, m); }
  Money GetContribution(int m) const { return RecordAt(contribution_, m); }
  Money GetEndValue(int m) const { return RecordAt(endValue_, m); }

 private:
  double returnRate_ = 0;
  double monthlyReturnRate_ = 0;
  std::vector<Money> beginValue_;
  std::vector<Money> growth_;
  std::vector<Money> contribution_;
  std::vector<Money> endValue_;
};

}  // namespace ardvane
