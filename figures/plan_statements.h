#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "figures/power_payment_goal.h"

namespace ardvane {

// What may truthfully be said about a plan: whether it pays every debt off, whether it saves
// interest or costs more, why a fee is lower than the one set, and the sentences that say so.
// The window, the report and the command line decide from here, so no page calls a plan that
// never ends a saving while another page says it is not one.

// How the interest the proposed plan saves may be stated.
enum class SavingKind {
  kSaves,         // the plan pays every debt off and saves at least a cent
  kSavesNothing,  // it pays every debt off; the saving rounds to $0.00
  kCosts,         // it pays every debt off and takes more interest than today's payments
  kNotASaving,    // it never pays some debt off: no figure of it is a saving
};

// `interestSaved` is today's total interest less the plan's, compared over the same months;
// the kind follows the amount as printed, rounded to cents.
SavingKind SavingKindOf(Money interestSaved, bool paysEveryDebt);

// A debt that a plan never pays off, and what would pay it off on its own terms.
struct UnpaidDebt {
  int loan = 0;  // index in both plans
  std::string name;
  // The smallest monthly payment, whole cents, that pays the debt off on its own (its other
  // terms kept), the months that payment takes, and the smallest that pays it off within
  // kPayoffPaymentMonths months.
  Money payoffPayment;
  int payoffMonths = 0;
  Money within60Months;
  // What the debt still owes when the months both plans are compared over end (its
  // beginning balance of month PlanResults::InterestHorizonMonths).
  Money owedAtHorizon;
};

// Why the setup fee or the down payment is not the one the plan sets.
enum class FeeKind {
  kAsSet,    // the plan's own fee (or the share of the saving) applies
  kMinimum,  // the saving is below the minimum: the minimum fee and down payment apply
  kWaived,   // as kMinimum, and the minimum fee is 0 where a fee was due: none is charged
};

struct FeeStatement {
  FeeKind kind = FeeKind::kAsSet;
  Money setupFee;          // charged
  Money usualSetupFee;     // what the saving would have been charged at or above the minimum
  Money downPayment;       // asked for
  Money usualDownPayment;  // the plan's own down payment
  Money minSavings;        // the saving below which the minimum fee applies
  // The plan saves interest before its fee (at least a cent as printed, and it pays every
  // debt off): the reason may speak of "the interest the plan saves".
  bool savesBeforeFee = false;
};

struct PlanStatements {
  // The debts the proposed plan never pays off, in loan order; empty when it pays off all.
  std::vector<UnpaidDebt> proposedUnpaid;
  // When it does not: the month every debt should be paid off by (the plan's month plus
  // the compared months, or plus Loan::kMaxMonths when that is 0) and the monthly power
  // payment that gets the plan there (FindPowerPaymentForGoal).
  YearMonth powerPaymentBy;
  PowerPaymentGoal powerPaymentNeeded;
  // The debts today's payments never pay off, in loan order.
  std::vector<UnpaidDebt> currentUnpaid;
  int horizonMonths = 0;  // PlanResults::InterestHorizonMonths

  SavingKind saving = SavingKind::kSavesNothing;
  Money interestSaved;         // signed, as printed (PlanFigures::shownInterestSaved)
  Money averageMonthlySaving;  // interestSaved / planMonths (MonthlyInterestSaving)
  int planMonths = 0;          // the proposed plan's debt-free months
  // The investment of the money the plan frees: offered as savings only when the plan pays
  // every debt off and no month of the projection is below 0.
  bool investmentIsSavings = false;
  Money investmentValue;
  double returnRatePercent = 0;
  FeeStatement fee;

  bool PaysEveryDebt() const { return proposedUnpaid.empty(); }
  // The plan may be called a saving ("saves", "pays for itself", "saves the most").
  bool ClaimsSaving() const { return saving == SavingKind::kSaves; }
};

// Decides the statements of `plan`, whose calculation is `results` (made with `params` and
// `settings`). When the proposed plan never pays a debt off this runs the power payment
// search, about 30 calculations.
PlanStatements ComputePlanStatements(const PlanDocument& plan, const PlanParameters& params,
                                     const AppSettings& settings, const PlanResults& results);

// The fee rule alone (no search), for a caller that needs only it.
FeeStatement FeeStatementOf(const PlanDocument& plan, const PlanResults& results);

// Strategies compared: today's payments never pay some debt off, so each strategy counts
// today's interest over its own months and that figure, and with it the saving, differs
// from row to row.
bool TodaysInterestVaries(const PlanStatements& statements);

// The words statements are written with: English phrases turned into the reader's language
// (the identity for English) and the figures in the reader's formats.
struct StatementWords {
  std::function<std::string(std::string_view)> translate;
  std::function<std::string(Money)> money;         // "$1,234.50"
  std::function<std::string(double)> years;       // "7.4"
  std::function<std::string(double)> percent2;    // "6.00%"
  std::function<std::string(YearMonth)> monthYear;  // "March 2031"
};

// English, with the report's formats of `regional` (which must outlive the words): what the
// window shows.
StatementWords EnglishStatementWords(const RegionalSettings& regional);

// The sentences. Each is empty where the plan has nothing of the kind to say.
struct StatementTexts {
  // "under the plan as it stands this debt is never paid off: Capital One" (or "these debts
  // are never paid off: A and B").
  std::string proposedUnpaid;
  // "A power payment of $120.00 a month would pay off every debt by March 2034." or "No
  // power payment of up to $1,000,000.00 a month pays off every debt by March 2034."
  std::string powerPayment;
  // "On today's payments, Capital One is never paid off: after 7.4 years you would still owe
  // $179,441.58."
  std::string currentUnpaid;
  // "The plan saves $66,293.77 in interest." / "... over the same 89 months." / "The plan
  // saves no interest." / "The plan costs $1,418.31 more in interest than today's payments."
  // / "As it stands, the plan never pays off every debt, so it saves nothing yet."
  std::string saving;
  // "on average $552.45 a month over the 120 months of the plan" (only when it saves).
  std::string averageSaving;
  // The saving row of a table: its label and its cell.
  std::string savingLabel;
  std::string savingCell;
  // "By investing the payments ..., you could build savings of $379,482.44 over the same
  // period." (only when the projection is savings).
  std::string investment;
  // Why the fee is reduced or waived.
  std::string fee;
  // The note under the strategies compared, when today's interest differs between rows.
  std::string strategies;
};

StatementTexts WriteStatements(const PlanStatements& statements, const StatementWords& words);

// One debt's payoff: "447 months (37.3 years)".
std::string PayoffTimeText(int months, const StatementWords& words);

// A saving in a table cell of its own (an option, a strategy): the amount, "None", "Costs $X
// more", or "—" for a plan that never pays every debt off.
std::string SavingCellText(Money interestSaved, bool paysEveryDebt, const StatementWords& words);

// A figure drawn from the saving (the return on the fees, the investment of what the plan
// frees) in a table cell of its own: `text`, or "—" for a plan that never pays every debt off,
// of which no such figure is true.
std::string SavingFigureCellText(std::string text, bool paysEveryDebt);

// Whether a return on the fees may be shown beside a saving of `interestSaved` (as printed):
// only a plan that pays every debt off and saves earns its fees back; elsewhere a return
// figure would read as "pays for itself", and the cell shows a dash instead.
bool ShowsReturn(Money interestSaved, bool paysEveryDebt);

// The note the window shows beside the interest figures, a sentence a line: the debts the plan
// never pays off, the payment that pays each off and how long it takes, the power payment that
// would pay off every debt; what today's payments never pay off; the saving when it is none, a
// cost or counted over the compared months; why the fee is lowered. Empty for a plan that pays
// every debt off today and under the plan, saves, and charges the fee set.
std::string ResultsNote(const PlanStatements& statements, const StatementTexts& texts,
                        const StatementWords& words);

// A saving as a clause that fits "Before the setup fee, ...": "the plan saves you $X in
// interest", "the plan saves no interest", "the plan costs $X more in interest than today's
// payments", or for a plan that never pays every debt off, that it shows no saving.
std::string SavingClause(Money interestSaved, bool paysEveryDebt, const StatementWords& words);

// "A", "A and B", "A, B and C".
std::string JoinedNames(const std::vector<std::string>& names, const StatementWords& words);

}  // namespace ardvane
