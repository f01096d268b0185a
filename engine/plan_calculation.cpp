#include "engine/plan_calculation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace ardvane {
namespace {

// An amount as entered becomes money where the simulation reads it.
Money Amount(double units) { return Money::FromUnits(units); }

Money PercentOf(Money amount, Percent percent) {
  return Money::FromUnits(amount.Units() * percent.Value() / 100.0L);
}

struct NewLoanTerms {
  Money payment;
  Money minimumAmount;
  double minimumPercent = 0;
};

// The new loan's payment and the minimum terms that make the simulation pay it. An
// installation's payment override, when there is one, is the payment everywhere.
NewLoanTerms SizeNewLoanPayment(Money amount, double annualRate, int termMonths, bool interestOnly,
                                Money paymentOverride) {
  const long double monthlyRate = static_cast<long double>(annualRate) / 12.0L;
  NewLoanTerms terms;
  if (paymentOverride > Money()) {
    terms.payment = paymentOverride;
    terms.minimumAmount = paymentOverride;
  } else if (interestOnly) {
    terms.payment = amount * monthlyRate;
    terms.minimumPercent = static_cast<double>(monthlyRate);
  } else {
    terms.payment = LevelPayment(amount, monthlyRate, termMonths);
    terms.minimumAmount = terms.payment;
  }
  return terms;
}

void ApplyNewLoanTerms(Loan& loan, Money amount, const NewLoanTerms& terms, int termMonths,
                       bool interestOnly, int compoundingCode) {
  loan.SetBalance(amount);
  loan.SetMinimumPaymentPercent(terms.minimumPercent);
  loan.SetMinimumPaymentAmount(terms.minimumAmount);
  loan.SetCurrentPayment(terms.payment);
  loan.SetAccelerated(true);
  loan.SetTermMonths(termMonths);
  loan.SetInterestOnly(interestOnly);
  loan.SetCompoundingPeriod(compoundingCode);
}

// The paydown order both plans sort by: the six ordering priorities as they are, any other
// one as HighestInterestRate (the proposed plan adds MaximizeWealth on its own).
PaydownPriority SortingPriority(PaydownPriority priority) {
  const int code = PriorityCode(priority);
  return code >= 1 && code <= 6 ? priority : PaydownPriority::HighestInterestRate;
}

void BuildCurrentPlan(PlanResults& r, const PlanDocument& plan) {
  LoanSchedule& current = r.CurrentPlan;
  current.SetPlanDate(plan.Date);
  for (const Debt& debt : plan.Debts) {
    Loan& loan = current.AddLoan(Amount(debt.Balance), debt.InterestRate.Fraction(),
                                 debt.MinimumPaymentPercent.Fraction(),
                                 Amount(debt.MinimumPaymentAmount), Amount(debt.CurrentPayment));
    loan.SetAccelerated(false);
    loan.SetUseMinimum(debt.UseMinimum);
    loan.SetEscrow(Amount(debt.Escrow));
    loan.SetCompoundingPeriod(CompoundingCode(debt.Compounding));
  }
  // Both plans have a loan at the new loan's index; this one never runs.
  if (r.Consolidating && r.DebtCount > 0) current.AddLoan(Money(), 0, 0, Money(), Money());

  current.SetPriority(SortingPriority(plan.Priority));
  current.SetAccelerator(Money());
  current.SetMonthlyFee(Money());
  current.SetMaximizeWealth(false);
  current.ComputeTotalPayment();
  current.Run();
}

// Totals of the debts the new loan pays off.
void SumConsolidatedDebts(PlanResults& r, const PlanDocument& plan) {
  long double rateSum = 0;
  for (int i = 0; i < r.DebtCount; ++i) {
    const Debt& debt = plan.Debts.At(i);
    if (!r.Consolidating || !debt.Consolidate) continue;
    r.PayoffBalance += Amount(debt.Negotiate ? debt.NegotiatedBalance : debt.Balance);
    const Loan& loan = *r.CurrentPlan.GetLoan(i);
    r.PayoffPayment += loan.GetScheduledPayment();
    r.PayoffMinimum += loan.GetPaymentDue(0);
    rateSum += static_cast<long double>(debt.InterestRate.Value()) * debt.Balance;
  }
  r.PayoffAverageRate = Percent(
      r.PayoffBalance != Money() ? static_cast<double>(rateSum / r.PayoffBalance.Units()) : 0);
}

void BuildProposedPlan(PlanResults& r, const PlanDocument& plan, const PlanParameters& params,
                       const AppSettings& settings, const NewLoanTerms& newLoan) {
  LoanSchedule& proposed = r.ProposedPlan;
  const Accelerator& power = plan.Accelerators[0];
  proposed.SetPlanDate(plan.Date);
  proposed.SetAccelerator(power.Monthly);
  proposed.SetAnnualAccelerator(power.Annual);
  proposed.SetAcceleratorMonth(power.Month);
  proposed.SetReturnRate(plan.ReturnRate.Fraction());
  proposed.SetMaximizeWealth(false);
  proposed.SetMonthlyFee(plan.ManagementFee);
  proposed.SetTotalPayment(r.CurrentPlan.TotalPayment());

  Money consolidatedEscrow;
  for (const Debt& debt : plan.Debts) {
    Loan* loan = nullptr;
    if (r.Consolidating && debt.Consolidate) {
      // Paid off by the new loan at the plan date.
      loan = &proposed.AddLoan(Money(), 0, 0, Money(), Money());
      consolidatedEscrow += Amount(debt.Escrow);
    } else if (params.PermitNegotiate && debt.Negotiate) {
      loan =
          &proposed.AddLoan(Amount(debt.NegotiatedBalance), debt.NegotiatedInterestRate.Fraction(),
                            0, Amount(debt.NegotiatedPayment), Amount(debt.CurrentPayment));
      loan->SetEscrow(Amount(debt.Escrow));
    } else {
      loan = &proposed.AddLoan(Amount(debt.Balance), debt.InterestRate.Fraction(),
                               debt.MinimumPaymentPercent.Fraction(),
                               Amount(debt.MinimumPaymentAmount), Amount(debt.CurrentPayment));
      loan->SetEscrow(Amount(debt.Escrow));
    }
    loan->SetAccelerated(true);
    loan->SetCompoundingPeriod(CompoundingCode(debt.Compounding));
  }
  if (r.Consolidating && r.DebtCount > 0) {
    Loan& loan = proposed.AddLoan(r.NewLoanAmount, r.NewLoanRate.Value(), newLoan.minimumPercent,
                                  newLoan.minimumAmount, newLoan.payment);
    loan.SetEscrow(consolidatedEscrow);
    ApplyNewLoanTerms(loan, r.NewLoanAmount, newLoan, r.NewLoanTermMonths,
                      plan.ConsolidationLoan.InterestOnly, settings.DefaultCompoundingPeriod);
  }

  proposed.SetPriority(SortingPriority(plan.Priority));
  proposed.SetMaximizeWealth(plan.Priority == PaydownPriority::MaximizeWealth);
  proposed.Run();
}

void PriceSetupFee(PlanResults& r, const PlanDocument& plan) {
  r.InterestSavedBeforeFee = r.CurrentPlan.GetTotalInterest() - r.ProposedPlan.GetTotalInterest();
  r.RateSetupFee =
      Money::WholeUnits(plan.SetupFeeRate.Value() * Max(r.InterestSavedBeforeFee, Money()).Units());
  if (plan.MinSavings > r.InterestSavedBeforeFee) {
    r.ActualDownPayment = plan.MinDownPayment;
    r.ActualSetupFee = plan.MinSetupFee;
  } else {
    r.ActualDownPayment = plan.DownPayment;
    r.ActualSetupFee = Max(r.RateSetupFee, plan.SetupFee);
  }
  // Follows the plan's own flag, whatever the installation permits.
  r.SetupFeeFinanced =
      plan.Consolidate ? r.ActualSetupFee - Min(r.ActualDownPayment, r.ActualSetupFee) : Money();
}

Money NegotiatedMinimums(const PlanResults& r, const PlanDocument& plan,
                         const PlanParameters& params) {
  if (!params.PermitNegotiate || r.DebtCount == 0) return r.CurrentPlan.GetTotalPaymentDue(0);
  Money total;
  for (int i = 0; i < r.DebtCount; ++i) {
    const Debt& debt = plan.Debts.At(i);
    total += debt.Negotiate ? Amount(debt.NegotiatedPayment)
                            : r.CurrentPlan.GetLoan(i)->GetPaymentDue(0);
  }
  return total;
}

}  // namespace

int TermMonthsOf(double termYears) {
  const double months = std::nearbyint(termYears * 12.0);
  if (!(months >= 1)) return 1;  // also NaN
  return months > 1e6 ? 1000000 : static_cast<int>(months);
}

Money LevelPayment(Money amount, long double monthlyRate, int months) {
  if (months < 1) months = 1;
  if (monthlyRate == 0) return Money::FromUnits(amount.Units() / months);
  return Money::FromUnits(amount.Units() * monthlyRate /
                          (1.0L - std::pow(1.0L + monthlyRate, -static_cast<long double>(months))));
}

namespace {

// The fee equation of SolveAnnualReturn at t = ln(1 + r), scaled by a positive factor so that
// no power overflows: f(t) itself for t <= 0 (every power of x = e^t is at most 1), f(t) / x^S
// above 0. Scaling keeps the sign and the Newton step f / f'.
struct FeeEquation {
  int months;
  long double pv, pmt, fv;

  struct Point {
    long double value;
    long double slope;  // d/dt of the same scaled function's numerator, i.e. f'(t) scaled alike
  };

  Point At(long double t) const {
    long double annuity = 0;   // sum of x^k, k = 1..S (scaled)
    long double weighted = 0;  // sum of k x^k (scaled)
    if (t <= 0) {
      const long double x = std::exp(t);
      long double power = 1;
      for (int k = 1; k <= months; ++k) {
        power *= x;
        annuity += power;
        weighted += k * power;
      }
      return {pv * power + pmt * annuity + fv, pv * months * power + pmt * weighted};
    }
    // Divided by x^S: x^k becomes y^(S-k) with y = e^-t <= 1.
    const long double y = std::exp(-t);
    long double power = 1;  // y^j, j = S - k
    for (int j = 0; j < months; ++j) {
      annuity += power;
      weighted += (months - j) * power;
      power *= y;
    }
    return {pv + pmt * annuity + fv * power, pv * months + pmt * weighted};
  }
};

}  // namespace

double SolveAnnualReturn(int months, Money setupFee, Money monthlyFee, Money interestSaved) {
  if (months <= 0 || !(setupFee > Money() || monthlyFee > Money()) || interestSaved <= Money()) {
    return 0;
  }
  // With payments at the start of each month, the fees grow to the saving when
  //   pv (1 + r)^S + pmt (1 + r) ((1 + r)^S - 1) / r + fv = 0,
  // pv = -(A + F), pmt = -F, fv = G. In t = ln(1 + r) the left side falls strictly from G
  // (t -> -inf) to -inf, so there is exactly one root. Newton's method is kept inside a
  // bracket of that root and falls back to bisection whenever a step would leave it.
  const FeeEquation f{months, -(setupFee.Units() + monthlyFee.Units()), -monthlyFee.Units(),
                      interestSaved.Units()};
  long double t = 0;
  FeeEquation::Point point = f.At(t);
  if (point.value == 0) return 0;
  long double lo = 0;  // f(lo) > 0
  long double hi = 0;  // f(hi) < 0
  if (point.value > 0) {
    hi = 1;
    while (f.At(hi).value > 0) {
      lo = hi;
      hi *= 2;
    }
  } else {
    lo = -1;
    while (f.At(lo).value < 0) {
      hi = lo;
      lo *= 2;
    }
  }
  // Each step is Newton's when it stays inside the bracket and at least halves the step
  // before it, else bisection: from the side where the curve is steep Newton alone can
  // creep towards the root by 1/S per step.
  long double stepBefore = hi - lo;
  long double step = stepBefore;
  t = lo + step / 2;
  point = f.At(t);
  for (int iteration = 0; iteration < 500 && point.value != 0; ++iteration) {
    if (point.value > 0) {
      lo = t;
    } else {
      hi = t;
    }
    const long double newton = t - point.value / point.slope;
    const bool useNewton = std::isfinite(newton) && newton > lo && newton < hi &&
                           std::fabs(2 * point.value) <= std::fabs(stepBefore * point.slope);
    stepBefore = step;
    const long double next = useNewton ? newton : lo + (hi - lo) / 2;
    step = next - t;
    if (next == t || next <= lo || next >= hi) break;  // no representable point in between
    t = next;
    if (std::fabs(step) <= 1e-18L * std::max(1.0L, std::fabs(t))) break;
    point = f.At(t);
  }
  const double annual = static_cast<double>(std::expm1(12 * t));
  return std::isfinite(annual) ? annual : std::numeric_limits<double>::max();
}

PlanResults Calculate(const PlanDocument& plan, const PlanParameters& params,
                      const AppSettings& settings) {
  PlanResults r;
  const ConsolidationLoanTerms& loanTerms = plan.ConsolidationLoan;
  r.Consolidating = plan.Consolidate && params.PermitConsolidate;
  r.DebtCount = plan.Debts.GetDebtCount();
  r.NewLoanTermMonths = TermMonthsOf(loanTerms.Term);

  BuildCurrentPlan(r, plan);

  r.CashOutAmount = params.PermitCashOut ? loanTerms.CashOut : Money();
  SumConsolidatedDebts(r, plan);
  r.NewLoanRate = Ratio(loanTerms.InterestRate.Fraction());

  // First sizing of the new loan, before the setup fee is known.
  r.NewLoanPointsFee = PercentOf(r.PayoffBalance + r.NewLoanSetupFee, loanTerms.FeesRate);
  r.NewLoanFixedFees = loanTerms.FeesAmount;
  r.NewLoanAmount = r.Consolidating ? r.PayoffBalance + r.NewLoanPointsFee + r.NewLoanSetupFee +
                                          r.NewLoanFixedFees + r.CashOutAmount
                                    : Money();
  const Money paymentOverride = r.Consolidating ? params.NewLoanPaymentOverride : Money();
  NewLoanTerms newLoan =
      SizeNewLoanPayment(r.NewLoanAmount, r.NewLoanRate.Value(), r.NewLoanTermMonths,
                         loanTerms.InterestOnly, paymentOverride);
  r.NewLoanPayment = newLoan.payment;

  BuildProposedPlan(r, plan, params, settings, newLoan);
  // The fee is priced on a saving compared over the same months.
  CompareOverSameMonths(r);
  PriceSetupFee(r, plan);

  // Final sizing, with the setup fee (less what is paid down) financed in the new loan.
  r.NewLoanSetupFee = r.ActualSetupFee;
  r.NewLoanPointsFee = PercentOf(r.PayoffBalance + r.NewLoanSetupFee, loanTerms.FeesRate);
  r.NewLoanAmount = r.Consolidating
                        ? r.PayoffBalance + r.NewLoanPointsFee + r.NewLoanFixedFees +
                              r.NewLoanSetupFee - Min(r.ActualDownPayment, r.ActualSetupFee) +
                              r.CashOutAmount
                        : Money();
  newLoan = SizeNewLoanPayment(r.NewLoanAmount, r.NewLoanRate.Value(), r.NewLoanTermMonths,
                               loanTerms.InterestOnly, paymentOverride);
  r.NewLoanPayment = newLoan.payment;
  // Only the new loan changes with the fee: a plan without one has run as it would again.
  if (r.Consolidating && r.ProposedPlan.GetCount() > 0) {
    ApplyNewLoanTerms(*r.ProposedPlan.GetLoan(r.ProposedPlan.GetCount() - 1), r.NewLoanAmount,
                      newLoan, r.NewLoanTermMonths, loanTerms.InterestOnly,
                      settings.DefaultCompoundingPeriod);
    r.ProposedPlan.ResetAll();
    r.ProposedPlan.Run();
    CompareOverSameMonths(r);
  }

  r.ProjectionMonths =
      std::max(r.CurrentPlan.GetDebtFreeMonths(), r.ProposedPlan.GetDebtFreeMonths());
  CalculateProposedAsset(r, plan);

  const int debtFreeMonths = r.ProposedPlan.GetDebtFreeMonths();
  const Money saved = r.InterestSaved();
  r.AnnualReturn =
      Ratio(SolveAnnualReturn(debtFreeMonths, r.ActualSetupFee, plan.ManagementFee, saved));
  r.MonthlyInterestSaving =
      debtFreeMonths > 0 ? Money::FromUnits(saved.Units() / debtFreeMonths) : Money();
  r.NegotiatedMinimums = NegotiatedMinimums(r, plan, params);
  return r;
}

void CompareOverSameMonths(PlanResults& r) {
  r.InterestHorizonMonths =
      std::max(r.CurrentPlan.GetDebtFreeMonths(), r.ProposedPlan.GetDebtFreeMonths());
  r.CurrentPlan.CountInterestOver(r.InterestHorizonMonths);
  r.ProposedPlan.CountInterestOver(r.InterestHorizonMonths);
}

void CalculateProposedAsset(PlanResults& r, const PlanDocument& plan) {
  r.ProposedInvestment = InvestmentAsset();
  InvestmentAsset& asset = r.ProposedInvestment;
  const LoanSchedule& proposed = r.ProposedPlan;
  asset.SetReturnRate(plan.ReturnRate.Fraction());

  // What the debts took each month, totalled loan by loan over the months each one ran.
  const int months = std::max(r.ProjectionMonths, 0);
  std::vector<Money> paid(months);
  for (int i = 0; i < proposed.GetCount(); ++i) {
    const Loan& loan = *proposed.GetLoan(i);
    const int ran = std::min(loan.ComputedMonths(), months);
    for (int m = 0; m < ran; ++m) paid[m] += loan.GetTotalPaid(m);
  }

  const int debtFree = proposed.GetDebtFreeMonths();
  for (int m = 0; m < months; ++m) {
    Money contribution = proposed.GetBudgetOfMonth(m) - paid[m];
    // Once the client is debt free the plan fee stops and is invested too.
    if (m >= debtFree) contribution += plan.ManagementFee;
    asset.SetContribution(m, contribution);
    asset.StepMonth(m);
  }
}

bool DebtNeverPaysOff(const PlanResults& results, int index) {
  const Loan* loan = results.CurrentPlan.GetLoan(index);
  return loan != nullptr && loan->Balance() > Money() && loan->PayoffDate() == 0;
}

std::optional<std::string> CheckForNoPayoff(const PlanDocument& plan, const PlanResults& results,
                                            int index) {
  if (!plan.Debts.ValidRow(index) || !DebtNeverPaysOff(results, index)) {
    return std::nullopt;
  }
  return "Using the entered payment amount, the " + GetDebtName(plan, results, index) +
         " debt never gets paid off in this analysis.\n\n"
         "You should adjust the payment amount on this debt.";
}

std::string GetDebtName(const PlanDocument& plan, const PlanResults& results, int index) {
  if (plan.Debts.ValidRow(index)) return plan.Debts.At(index).Name;
  return results.PayoffBalance > Money() ? "Consolidation loan" : "New loan";
}

bool HaveNegotiated(const PlanDocument& plan, const PlanParameters& params) {
  if (!params.PermitNegotiate) return false;
  for (const Debt& debt : plan.Debts) {
    if (!debt.Negotiate) continue;
    if (debt.Balance != debt.NegotiatedBalance ||
        debt.InterestRate != debt.NegotiatedInterestRate ||
        debt.CurrentPayment != debt.NegotiatedPayment) {
      return true;
    }
  }
  return false;
}

}  // namespace ardvane
