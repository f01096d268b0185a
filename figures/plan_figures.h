#pragma once

#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "figures/printed_amounts.h"

namespace ardvane {

// The figures a client is shown, worked out once from a plan and its calculated results.
// The window's labels, the report's placeholders and the command line's JSON all read them
// from here, so a figure shown in two places cannot disagree with itself. Money is Money;
// rates say in their names whether they are percents (7.5 is 7.5 %) or fractions; periods
// say months or years.

// How long one plan (current or proposed) runs until the client is debt free.
struct DebtFreeFigures {
  int months = 0;       // GetDebtFreeMonths: the months until the last debt that is paid off
  double years = 0;     // months / 12
  DayNumber date = 0;   // the month of the last payoff; 0 when there is none (no debts)
  // Interest of the debts until each is paid off; a debt never paid off adds its interest over
  // the months both plans are compared (PlanResults::InterestHorizonMonths).
  Money totalInterest;
  Money monthlyOutlay;  // GetTotalMonthlyOutlay, escrow not included
  // Loans whose starting balance is above 0 and which are never paid off, in loan order, and
  // their names (GetDebtName). The plan then makes no one debt free, whatever `date` says.
  std::vector<int> neverPaidOff;
  std::vector<std::string> neverPaidOffNames;

  bool DebtFree() const { return neverPaidOff.empty(); }
  friend bool operator==(const DebtFreeFigures&, const DebtFreeFigures&) = default;
};

// The new loan: the debts it pays off, what it adds, and how it compares with them.
struct NewLoanFigures {
  Money payoffBalance;        // the consolidated debts
  Money setupFee;             // the plan's setup fee put into the loan
  Money lenderFees;           // points and fixed fees
  Money cashPayment;          // cash out less the down payment (negative: paid in)
  Money amount;               // the new loan amount
  Money payoffPayment;        // what the consolidated debts take a month today
  Money payment;              // the new loan's monthly payment
  Money paymentDifference;    // payoffPayment - payment: what the client pays less a month
  Money shownPaymentDifference;  // the same of the two payments as printed (PrintedDifference)
  double payoffRatePercent = 0;      // the consolidated debts' rate, weighted by balance
  double ratePercent = 0;            // the new loan's rate
  double rateDifferencePercent = 0;  // payoffRatePercent - ratePercent
  // The same of the two rates as printed (3 decimals, FormatPercent3).
  double shownRateDifferencePercent = 0;
  double feesRatePercent = 0;        // points, as a percent of pointsBase
  Money pointsBase;                  // the debts paid off plus the whole setup fee
  double termYears = 0;              // the loan's term as entered
  double payoffYears = 0;            // when the plan pays the new loan off
  bool setupFeeAtRate = false;       // the fee charged is the share of the interest saved
  double setupFeeRatePercent = 0;    // that share
  Money interestSavedBeforeFee;
  // What financing the setup fee in the new loan costs in interest: the saving before the
  // fee less the saving after it, both as printed (PlanFigures::shownInterestSaved).
  Money feeFinancingInterest;
};

// The plan's monthly budget and where its margin comes from.
struct StrategyFigures {
  Money currentPayment;        // what the client pays a month today, escrow included
  Money proposedMinimum;       // the first month's minimums under the plan, escrow included
  Money adminFee;              // the plan's monthly fee
  Money margin;                // budget above the first month's minimums, never below 0
  Money actualMargin;          // the same, may be negative
  Money proposedPayment;       // what the client pays a month under the plan, escrow included
  Money paymentIncrease;       // proposedPayment - currentPayment (negative: pays less)
  Money currentExcess;         // today's payments above the minimums, consolidated debts aside
  Money accelerator;           // the monthly power payment (negative: a payment reduction)
  Money negotiationSavings;    // lower minimums negotiated with the creditors
  Money newLoanSavings;        // the consolidated debts' payments less the new loan's
  // The first months in which the minimums exceed the budget: their count, the most the
  // client pays in one of them (as the payment schedule shows it, leaving out the months of
  // the yearly power payment unless there are no others) and that payment less today's.
  int monthsOverBudget = 0;
  Money overBudgetPayment;
  Money overBudgetIncrease;
};

// The service agreement's fee rows.
struct ContractFigures {
  Money setupFee;
  Money downPayment;
  bool financed = false;       // a consolidation loan carries the rest of the fee
  Money financedSetupFee;      // only when financed
  Money unpaidSetupFee;        // the fee less the down payment, when nothing finances it
  double loanRatePercent = 0;  // the new loan's rate, when financed
  Money loanPayment;           // the new loan's monthly payment, when financed
  Money planPayment;           // the client's monthly payment under the plan, escrow included
  Money monthlyFee;            // the plan's monthly fee, part of planPayment
};

// One month of the payment schedule: what the client pays and where it goes.
struct ScheduleMonth {
  Money minimumPayment;  // the debts' scheduled payments
  Money extraPayment;    // the margin applied
  Money fees;            // the plan fee while debts remain
  Money escrow;
  Money savings;         // put into the investment
  Money total;
};

// How one debt ends in a plan.
enum class PayoffKind {
  kPaidOff,       // on `date`
  kNeverPaidOff,  // it has a balance that the plan never pays off
  kConsolidated,  // the new loan pays it at the plan date (proposed plan only)
  kNothingOwed,   // no balance to pay: a debt of 0, or the current plan's new-loan slot
};

struct DebtPayoff {
  int loan = 0;  // index in both plans
  PayoffKind currentKind = PayoffKind::kNothingOwed;
  DayNumber currentDate = 0;
  PayoffKind proposedKind = PayoffKind::kNothingOwed;
  DayNumber proposedDate = 0;
  // 1 for the first debt the proposed plan pays off, 2 for the next...; 0 for any other.
  int rank = 0;
};

struct PlanFigures {
  DebtFreeFigures current;
  DebtFreeFigures proposed;

  Money interestSaved;          // current total interest - proposed total interest
  // The saving as the report and the window print it: the difference of the two total
  // interests as printed, so that a table of both and their difference adds up. Every
  // statement of the saving prints this figure.
  Money shownInterestSaved;
  Money monthlyInterestSaving;  // interestSaved per month of the proposed plan
  double annualReturnFraction = 0;  // the return on the plan's fees, a year
  double AnnualReturnPercent() const { return annualReturnFraction * 100; }
  Money investmentValue;        // the investment at the end of the projection
  // Debt balances at the month the proposed plan ends, and the later debt-free date.
  Money currentBalanceAtProposedEnd;
  Money proposedBalanceAtProposedEnd;
  DayNumber laterDebtFreeDate = 0;

  // The current debts table's footer.
  Money currentDebtsPayment;  // first month's payments
  Money currentDebtsBalance;  // starting balances
  Money escrow;               // monthly escrow of all debts
  Money currentDebtsPaymentWithEscrow;

  NewLoanFigures newLoan;
  StrategyFigures strategy;
  ContractFigures contract;

  // Every simulated debt (the new loan included) in the order the proposed plan pays them
  // off: consolidated debts first (the new loan pays them at the plan date), then by payoff
  // month, then the debts never paid off, then those with nothing owed; ties keep the
  // plan's order of priority.
  std::vector<DebtPayoff> payoffs;
};

// "Where the margin comes from": today's payments above the minimums, the power payment (a
// payment reduction negative), the lower minimums negotiated (only `withNegotiations`, as
// the table shows that row), the new loan's monthly benefit (negative when it costs more than
// the payments it replaces) and the plan fee as a deduction (negative). The total, their sum
// as printed, is the margin, or the budget's shortfall below the minimums (negative).
FootedColumn MarginSources(const StrategyFigures& strategy, bool withNegotiations);

// Works the figures out. `results` is the calculation of `plan`.
PlanFigures ComputePlanFigures(const PlanDocument& plan, const PlanResults& results);

// The debt-free figures of `loans`, which is results.CurrentPlan or results.ProposedPlan
// (`results` being the calculation of `plan`): what ComputePlanFigures puts in `current` and
// `proposed`, for a caller that needs no more.
DebtFreeFigures ComputeDebtFreeFigures(const PlanDocument& plan, const PlanResults& results,
                                       const LoanSchedule& loans);

// Month `month` of the proposed plan's payment schedule.
ScheduleMonth ScheduleMonthOf(const PlanResults& results, int month);

// The investment's value at the end of the projection (0 when there is none).
Money InvestmentValueAtHorizon(const PlanResults& results);

// "A, B, C": the names of debts, for a window's one line.
std::string JoinNames(const std::vector<std::string>& names);

// Loan `index` of `plan` has a starting balance and is never paid off. Consolidated debts
// (balance 0 in the proposed plan) and the current plan's empty new-loan slot never count.
bool NeverPaysOff(const LoanSchedule& plan, int index);

}  // namespace ardvane
