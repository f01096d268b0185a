#include "figures/plan_figures.h"

#include <algorithm>

namespace ardvane {
namespace {

// Debts of the simulations, the new loan included; never more than either plan holds.
int SimulatedCount(const PlanDocument& plan, const PlanResults& r) {
  const int count = plan.Debts.GetDebtCount() + (r.Consolidating ? 1 : 0);
  return std::min({count, r.CurrentPlan.GetCount(), r.ProposedPlan.GetCount()});
}

NewLoanFigures NewLoanOf(const PlanDocument& plan, const PlanResults& r) {
  NewLoanFigures f;
  f.payoffBalance = r.PayoffBalance;
  f.setupFee = r.NewLoanSetupFee;
  f.lenderFees = r.NewLoanPointsFee + r.NewLoanFixedFees;
  f.cashPayment = r.CashOutAmount - r.ActualDownPayment;
  f.amount = r.NewLoanAmount;
  f.payoffPayment = r.PayoffPayment;
  f.payment = r.NewLoanPayment;
  f.paymentDifference = r.PayoffPayment - r.NewLoanPayment;
  f.shownPaymentDifference = PrintedDifference(r.PayoffPayment, r.NewLoanPayment);
  f.payoffRatePercent = r.PayoffAverageRate.Value();
  f.ratePercent = r.NewLoanRate.InPercent().Value();
  f.rateDifferencePercent = f.payoffRatePercent - f.ratePercent;
  f.shownRateDifferencePercent = PrintedPercent(
      PrintedPercent(f.payoffRatePercent, 3, 10) - PrintedPercent(f.ratePercent, 3, 10), 3, 10);
  f.feesRatePercent = plan.ConsolidationLoan.FeesRate.Value();
  f.pointsBase = r.PayoffBalance + r.NewLoanSetupFee;
  f.termYears = plan.ConsolidationLoan.Term;
  const Loan* loan = r.ProposedPlan.GetLoan(plan.Debts.GetDebtCount());
  f.payoffYears = loan ? loan->PayoffYears() : 0;
  f.setupFeeAtRate = r.ActualSetupFee == r.RateSetupFee;
  f.setupFeeRatePercent = plan.SetupFeeRate.InPercent().Value();
  f.interestSavedBeforeFee = r.InterestSavedBeforeFee;
  return f;
}

StrategyFigures StrategyOf(const PlanResults& r) {
  const LoanSchedule& current = r.CurrentPlan;
  const LoanSchedule& proposed = r.ProposedPlan;
  StrategyFigures f;
  const Money currentOutlay = current.GetTotalMonthlyOutlay();
  const Money proposedOutlay = proposed.GetTotalMonthlyOutlay();
  const Money proposedMinimum = proposed.GetTotalPaymentDue(0);
  f.currentPayment = current.GetTotalEscrow() + currentOutlay;
  f.proposedMinimum = proposed.GetTotalEscrow() + proposedMinimum;
  f.adminFee = proposed.MonthlyFee();
  f.actualMargin = proposed.GetBudget() - proposedMinimum;
  f.margin = Max(Money(), f.actualMargin);
  f.proposedPayment = proposed.GetTotalEscrow() + proposedOutlay;
  f.paymentIncrease = proposedOutlay - currentOutlay;
  f.currentExcess = currentOutlay - current.GetTotalPaymentDue(0) -
                    (r.PayoffPayment - r.PayoffMinimum);
  f.accelerator = proposed.Accelerator();
  f.negotiationSavings = current.GetTotalPaymentDue(0) - r.NegotiatedMinimums;
  f.newLoanSavings = r.PayoffPayment - r.NewLoanPayment;

  // The yearly power payment is stated apart, so its months count only when the period
  // has no other.
  f.monthsOverBudget = proposed.GetFirstMonthWithinBudget();
  Money anyMonth;
  for (int m = 0; m < f.monthsOverBudget; ++m) {
    const Money total = ScheduleMonthOf(r, m).total;
    anyMonth = Max(anyMonth, total);
    const bool yearly = proposed.AnnualAccelerator() != Money() &&
                        m % 12 == proposed.AnnualMonthOffset();
    if (!yearly) f.overBudgetPayment = Max(f.overBudgetPayment, total);
  }
  if (f.overBudgetPayment == Money()) f.overBudgetPayment = anyMonth;
  if (f.monthsOverBudget > 0) f.overBudgetIncrease = f.overBudgetPayment - f.currentPayment;
  return f;
}

ContractFigures ContractOf(const PlanResults& r, const StrategyFigures& strategy) {
  ContractFigures f;
  f.setupFee = r.ActualSetupFee;
  f.downPayment = r.ActualDownPayment;
  f.financed = r.Consolidating;
  f.planPayment = strategy.proposedPayment;
  f.monthlyFee = strategy.adminFee;
  if (f.financed) {
    f.financedSetupFee = r.SetupFeeFinanced;
    f.loanRatePercent = r.NewLoanRate.InPercent().Value();
    f.loanPayment = r.NewLoanPayment;
  } else {
    f.unpaidSetupFee = r.ActualSetupFee - Min(r.ActualDownPayment, r.ActualSetupFee);
  }
  return f;
}

PayoffKind KindOf(const LoanSchedule& loans, int index, bool consolidated) {
  const Loan* loan = loans.GetLoan(index);
  if (consolidated) return PayoffKind::kConsolidated;
  if (loan == nullptr || !(loan->Balance() > Money())) return PayoffKind::kNothingOwed;
  return loan->PayoffMonths() > 0 ? PayoffKind::kPaidOff : PayoffKind::kNeverPaidOff;
}

std::vector<DebtPayoff> PayoffsOf(const PlanDocument& plan, const PlanResults& r) {
  const LoanSchedule& proposed = r.ProposedPlan;
  const int count = SimulatedCount(plan, r);
  std::vector<DebtPayoff> payoffs;
  payoffs.reserve(count);
  std::vector<bool> listed(count, false);
  const auto add = [&](int k) {
    if (k < 0 || k >= count || listed[k]) return;
    listed[k] = true;
    const bool consolidated =
        r.Consolidating && plan.Debts.ValidRow(k) && plan.Debts.At(k).Consolidate;
    DebtPayoff p;
    p.loan = k;
    p.currentKind = KindOf(r.CurrentPlan, k, false);
    if (p.currentKind == PayoffKind::kPaidOff) p.currentDate = r.CurrentPlan.GetLoan(k)->PayoffDate();
    p.proposedKind = KindOf(proposed, k, consolidated);
    if (p.proposedKind == PayoffKind::kPaidOff) p.proposedDate = proposed.GetLoan(k)->PayoffDate();
    payoffs.push_back(p);
  };
  // The plan's order of priority, then any loan the order does not name.
  for (int j = 0; j < count; ++j) add(proposed.GetOrderIndex(j));
  for (int k = 0; k < count; ++k) add(k);

  const auto group = [](PayoffKind kind) {
    switch (kind) {
      case PayoffKind::kConsolidated: return 0;
      case PayoffKind::kPaidOff: return 1;
      case PayoffKind::kNeverPaidOff: return 2;
      case PayoffKind::kNothingOwed: return 3;
    }
    return 3;
  };
  std::stable_sort(payoffs.begin(), payoffs.end(), [&](const DebtPayoff& a, const DebtPayoff& b) {
    if (group(a.proposedKind) != group(b.proposedKind)) {
      return group(a.proposedKind) < group(b.proposedKind);
    }
    return a.proposedKind == PayoffKind::kPaidOff &&
           proposed.GetLoan(a.loan)->PayoffMonths() < proposed.GetLoan(b.loan)->PayoffMonths();
  });
  int rank = 0;
  for (DebtPayoff& p : payoffs) {
    if (p.proposedKind == PayoffKind::kPaidOff) p.rank = ++rank;
  }
  return payoffs;
}

}  // namespace

FootedColumn MarginSources(const StrategyFigures& s, bool withNegotiations) {
  std::vector<Money> rows = {s.currentExcess, s.accelerator};
  if (withNegotiations) rows.push_back(s.negotiationSavings);
  rows.push_back(s.newLoanSavings);
  rows.push_back(-s.adminFee);
  return FootColumn(rows);
}

DebtFreeFigures ComputeDebtFreeFigures(const PlanDocument& plan, const PlanResults& r,
                                       const LoanSchedule& loans) {
  DebtFreeFigures f;
  f.months = loans.GetDebtFreeMonths();
  f.years = loans.GetDebtFreeYears();
  f.date = loans.GetDebtFreeDate();
  f.totalInterest = loans.GetTotalInterest();
  f.monthlyOutlay = loans.GetTotalMonthlyOutlay();
  for (int i = 0; i < loans.GetCount(); ++i) {
    if (!NeverPaysOff(loans, i)) continue;
    f.neverPaidOff.push_back(i);
    f.neverPaidOffNames.push_back(GetDebtName(plan, r, i));
  }
  return f;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += ", ";
    joined += name;
  }
  return joined;
}

bool NeverPaysOff(const LoanSchedule& plan, int index) {
  const Loan* loan = plan.GetLoan(index);
  return loan != nullptr && loan->Balance() > Money() && loan->PayoffMonths() == 0;
}

Money InvestmentValueAtHorizon(const PlanResults& r) {
  return r.ProjectionMonths >= 1 ? r.ProposedInvestment.GetEndValue(r.ProjectionMonths - 1)
                                 : Money();
}

ScheduleMonth ScheduleMonthOf(const PlanResults& r, int month) {
  const LoanSchedule& proposed = r.ProposedPlan;
  ScheduleMonth s;
  s.minimumPayment = proposed.GetTotalPayment(month);
  s.extraPayment = proposed.GetTotalExtraPayment(month);
  s.fees = proposed.GetTotalBeginBalance(month) > Money() ? proposed.MonthlyFee() : Money();
  s.escrow = r.CurrentPlan.GetTotalEscrow();
  s.savings = Max(Money(), r.ProposedInvestment.GetContribution(month));
  s.total = s.escrow + s.minimumPayment + s.extraPayment + s.fees + s.savings;
  return s;
}

PlanFigures ComputePlanFigures(const PlanDocument& plan, const PlanResults& r) {
  PlanFigures f;
  const LoanSchedule& current = r.CurrentPlan;
  const LoanSchedule& proposed = r.ProposedPlan;
  f.current = ComputeDebtFreeFigures(plan, r, current);
  f.proposed = ComputeDebtFreeFigures(plan, r, proposed);

  f.interestSaved = r.InterestSaved();
  f.monthlyInterestSaving = r.MonthlyInterestSaving;
  f.annualReturnFraction = r.AnnualReturn.Value();
  f.investmentValue = InvestmentValueAtHorizon(r);
  const int months = f.proposed.months;
  f.currentBalanceAtProposedEnd = months >= 1 ? current.GetTotalEndBalance(months - 1) : Money();
  f.proposedBalanceAtProposedEnd = months >= 1 ? proposed.GetTotalEndBalance(months - 1) : Money();
  f.laterDebtFreeDate = std::max(f.current.date, f.proposed.date);

  f.currentDebtsPayment = current.GetTotalPayment(0);
  f.currentDebtsBalance = current.GetTotalBeginBalance(0);
  f.escrow = current.GetTotalEscrow();
  f.currentDebtsPaymentWithEscrow = f.escrow + f.currentDebtsPayment;

  f.shownInterestSaved = PrintedDifference(f.current.totalInterest, f.proposed.totalInterest);

  f.newLoan = NewLoanOf(plan, r);
  f.newLoan.feeFinancingInterest =
      PrintedMoney(f.newLoan.interestSavedBeforeFee) - f.shownInterestSaved;
  f.strategy = StrategyOf(r);
  f.contract = ContractOf(r, f.strategy);
  f.payoffs = PayoffsOf(plan, r);
  return f;
}

}  // namespace ardvane
