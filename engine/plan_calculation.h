#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/asset.h"
#include "engine/loan_schedule.h"
#include "engine/money.h"
#include "engine/plan_document.h"
#include "engine/rates.h"
#include "engine/settings.h"

namespace ardvane {

// Everything one calculation of a plan produces. Loan i of either plan is debt row i; when
// the plan is consolidating one more loan follows the rows: the new loan in the proposed
// plan, an empty placeholder in the current one.
struct PlanResults {
  LoanSchedule CurrentPlan;
  LoanSchedule ProposedPlan;
  InvestmentAsset ProposedInvestment;

  bool Consolidating = false;  // the plan's Consolidate flag with the permission on
  int DebtCount = 0;           // rows of the debt table when calculated

  // The consolidated debts.
  Money PayoffBalance;
  Money PayoffPayment;
  Money PayoffMinimum;
  Percent PayoffAverageRate;  // per year, weighted by balance

  // The new consolidation loan.
  Ratio NewLoanRate;  // per year
  int NewLoanTermMonths = 1;
  Money NewLoanPointsFee;
  Money NewLoanFixedFees;
  Money NewLoanSetupFee;
  Money CashOutAmount;
  Money NewLoanAmount;
  Money NewLoanPayment;

  // Fees and what they earn.
  Money InterestSavedBeforeFee;
  Money RateSetupFee;  // whole currency units
  Money ActualSetupFee;
  Money ActualDownPayment;
  Money SetupFeeFinanced;
  Ratio AnnualReturn;  // per year
  Money MonthlyInterestSaving;
  Money NegotiatedMinimums;
  int ProjectionMonths = 0;
  // The months over which the two plans' interest is compared: the later of their debt-free
  // months (0 when neither pays any debt off). A debt never paid off counts its interest of
  // these months; see CompareOverSameMonths.
  int InterestHorizonMonths = 0;

  // Interest the proposed plan saves, after the setup fee is financed.
  Money InterestSaved() const {
    return CurrentPlan.GetTotalInterest() - ProposedPlan.GetTotalInterest();
  }
};

// Turns the plan into its current and proposed results. Never reports anything.
PlanResults Calculate(const PlanDocument& plan, const PlanParameters& params,
                      const AppSettings& settings);

// Sets results.InterestHorizonMonths from the plans as they have run and counts every debt
// never paid off, in both plans, with its interest over that horizon. Called after each run
// of the proposed plan; a caller that re-runs it (another power payment) calls it again.
void CompareOverSameMonths(PlanResults& results);

// Replaces results.ProposedInvestment with the projection of the money the proposed plan
// leaves over, for results.ProjectionMonths months.
void CalculateProposedAsset(PlanResults& results, const PlanDocument& plan);

// Loan `index` of the current plan has a balance and is never paid off.
bool DebtNeverPaysOff(const PlanResults& results, int index);
// The warning shown when a debt that is never paid off is opened for editing; nothing for
// other debts and for indices beyond the rows.
std::optional<std::string> CheckForNoPayoff(const PlanDocument& plan, const PlanResults& results,
                                            int index);
// Display name of a simulated debt: the row's name, or for the loan after the rows
// "Consolidation loan" (when debts are consolidated) or "New loan".
std::string GetDebtName(const PlanDocument& plan, const PlanResults& results, int index);
// Some restructured debt has terms that differ from its own (negotiation permitted).
bool HaveNegotiated(const PlanDocument& plan, const PlanParameters& params);

// The new loan's term in months: years times 12 rounded half to even, at least 1.
int TermMonthsOf(double termYears);
// The level payment that repays `amount` in `months` end-of-month payments at `monthlyRate`.
Money LevelPayment(Money amount, long double monthlyRate, int months);
// The annual return (a fraction) on paying `setupFee` plus `monthlyFee` at the start and
// `monthlyFee` at the start of each of `months` months, to save `interestSaved` at the end.
// The equation has exactly one root whenever there is something to solve (months above 0,
// a fee above 0, a saving above 0); it is found to full precision. 0 when there is nothing
// to solve; never NaN or infinite.
double SolveAnnualReturn(int months, Money setupFee, Money monthlyFee, Money interestSaved);

}  // namespace ardvane
