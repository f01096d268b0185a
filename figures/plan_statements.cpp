#include "figures/plan_statements.h"

#include <algorithm>

#include "figures/payoff_payment.h"
#include "figures/plan_figures.h"
#include "figures/printed_amounts.h"
#include "figures/report_formats.h"

namespace ardvane {
namespace {

std::vector<UnpaidDebt> UnpaidDebtsOf(const PlanDocument& plan, const PlanResults& results,
                                      const LoanSchedule& loans) {
  std::vector<UnpaidDebt> unpaid;
  for (int i = 0; i < loans.GetCount(); ++i) {
    if (!NeverPaysOff(loans, i)) continue;
    const Loan& loan = *loans.GetLoan(i);
    const PayoffPayments payments = PayoffPaymentsOf(loan);
    UnpaidDebt debt;
    debt.loan = i;
    debt.name = GetDebtName(plan, results, i);
    debt.payoffPayment = payments.any;
    debt.payoffMonths = payments.anyMonths;
    debt.within60Months = payments.within60Months;
    debt.owedAtHorizon = loan.GetBeginBalance(results.InterestHorizonMonths);
    unpaid.push_back(std::move(debt));
  }
  return unpaid;
}

bool ProjectionIsSavings(const PlanResults& results) {
  const InvestmentAsset& asset = results.ProposedInvestment;
  for (int m = 0; m < results.ProjectionMonths; ++m) {
    if (asset.GetContribution(m) < Money() || asset.GetEndValue(m) < Money()) return false;
  }
  return true;
}

std::vector<std::string> NamesOf(const std::vector<UnpaidDebt>& debts) {
  std::vector<std::string> names;
  for (const UnpaidDebt& debt : debts) names.push_back(debt.name);
  return names;
}

std::string Integer(int number) { return ReportInteger(number); }

bool PaysEveryDebtOff(const LoanSchedule& loans) {
  for (int i = 0; i < loans.GetCount(); ++i) {
    if (NeverPaysOff(loans, i)) return false;
  }
  return true;
}

}  // namespace

SavingKind SavingKindOf(Money interestSaved, bool paysEveryDebt) {
  if (!paysEveryDebt) return SavingKind::kNotASaving;
  // The amount as printed: whole cents, half a cent away from 0.
  const long long cents = (interestSaved.Count() + (interestSaved < Money() ? -50 : 50)) / 100;
  if (cents > 0) return SavingKind::kSaves;
  return cents == 0 ? SavingKind::kSavesNothing : SavingKind::kCosts;
}

FeeStatement FeeStatementOf(const PlanDocument& plan, const PlanResults& results) {
  FeeStatement fee;
  fee.setupFee = results.ActualSetupFee;
  fee.downPayment = results.ActualDownPayment;
  fee.usualSetupFee = Max(results.RateSetupFee, plan.SetupFee);
  fee.usualDownPayment = plan.DownPayment;
  fee.minSavings = plan.MinSavings;
  const bool belowMinimum = plan.MinSavings > results.InterestSavedBeforeFee;
  if (!belowMinimum ||
      (fee.setupFee == fee.usualSetupFee && fee.downPayment == fee.usualDownPayment)) {
    return fee;
  }
  fee.kind = fee.setupFee == Money() && fee.usualSetupFee > Money() ? FeeKind::kWaived
                                                                    : FeeKind::kMinimum;
  fee.savesBeforeFee =
      SavingKindOf(results.InterestSavedBeforeFee, PaysEveryDebtOff(results.ProposedPlan)) ==
      SavingKind::kSaves;
  return fee;
}

PlanStatements ComputePlanStatements(const PlanDocument& plan, const PlanParameters& params,
                                     const AppSettings& settings, const PlanResults& results) {
  PlanStatements s;
  s.horizonMonths = results.InterestHorizonMonths;
  s.proposedUnpaid = UnpaidDebtsOf(plan, results, results.ProposedPlan);
  s.currentUnpaid = UnpaidDebtsOf(plan, results, results.CurrentPlan);
  if (!s.proposedUnpaid.empty()) {
    const int months = s.horizonMonths > 0 ? s.horizonMonths : Loan::kMaxMonths;
    s.powerPaymentBy = YearMonthOf(AddMonths(plan.Date, months));
    s.powerPaymentNeeded = FindPowerPaymentForGoal(plan, params, settings, s.powerPaymentBy);
  }
  // The saving as the tables print it: today's total less the plan's, each rounded to cents.
  s.interestSaved = PrintedDifference(results.CurrentPlan.GetTotalInterest(),
                                      results.ProposedPlan.GetTotalInterest());
  s.saving = SavingKindOf(s.interestSaved, s.PaysEveryDebt());
  s.planMonths = results.ProposedPlan.GetDebtFreeMonths();
  s.averageMonthlySaving = results.MonthlyInterestSaving;
  s.investmentValue = InvestmentValueAtHorizon(results);
  s.investmentIsSavings = s.PaysEveryDebt() && ProjectionIsSavings(results);
  s.returnRatePercent = plan.ReturnRate.Value();
  s.fee = FeeStatementOf(plan, results);
  return s;
}

bool TodaysInterestVaries(const PlanStatements& statements) {
  return !statements.currentUnpaid.empty();
}

StatementWords EnglishStatementWords(const RegionalSettings& regional) {
  StatementWords words;
  words.translate = [](std::string_view phrase) { return std::string(phrase); };
  words.money = [&regional](Money amount) { return ReportMoney(amount, regional); };
  words.years = [&regional](double years) { return ReportYears(years, regional); };
  words.percent2 = [&regional](double percent) { return ReportPercent2(percent, regional); };
  words.monthYear = [](YearMonth month) {
    return ReportMonthYear(EncodeDate(month.year, month.month, 1), Language::kEnglish, "NA");
  };
  return words;
}

std::string JoinedNames(const std::vector<std::string>& names, const StatementWords& words) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i + 1 == names.size() && i > 0) {
      joined += ' ';
      joined += words.translate("and");
      joined += ' ';
    } else if (i > 0) {
      joined += ", ";
    }
    joined += names[i];
  }
  return joined;
}

std::string PayoffTimeText(int months, const StatementWords& words) {
  const auto& tr = words.translate;
  return Integer(months) + " " + tr(months == 1 ? "month" : "months") + " (" +
         words.years(months / 12.0) + " " + tr(months == 12 ? "year" : "years") + ")";
}

bool ShowsReturn(Money interestSaved, bool paysEveryDebt) {
  return SavingKindOf(interestSaved, paysEveryDebt) == SavingKind::kSaves;
}

std::string SavingCellText(Money interestSaved, bool paysEveryDebt, const StatementWords& words) {
  switch (SavingKindOf(interestSaved, paysEveryDebt)) {
    case SavingKind::kSaves: return words.money(interestSaved);
    case SavingKind::kSavesNothing: return words.translate("None");
    case SavingKind::kCosts:
      return words.translate("Costs") + " " + words.money(-interestSaved) + " " +
             words.translate("more");
    case SavingKind::kNotASaving: break;
  }
  return "\u2014";
}

std::string ResultsNote(const PlanStatements& s, const StatementTexts& t,
                        const StatementWords& words) {
  const auto& tr = words.translate;
  std::vector<std::string> lines;
  if (!s.proposedUnpaid.empty()) {
    lines.push_back(tr("As it stands, under the plan") + " " + t.proposedUnpaid + ".");
    for (const UnpaidDebt& debt : s.proposedUnpaid) {
      lines.push_back(debt.name + ": " + words.money(debt.payoffPayment) + " " +
                      tr("a month pays it off in") + " " +
                      PayoffTimeText(debt.payoffMonths, words) + ".");
    }
    lines.push_back(t.powerPayment);
  }
  if (!t.currentUnpaid.empty()) lines.push_back(t.currentUnpaid);
  // A plan with nothing to pay off (no debts, no balances) has no saving worth a word.
  const bool nothingToCompare = s.planMonths == 0 && s.PaysEveryDebt() && s.currentUnpaid.empty();
  if ((!s.ClaimsSaving() || !s.currentUnpaid.empty()) && !nothingToCompare) {
    lines.push_back(t.saving);
  }
  if (!t.fee.empty()) lines.push_back(t.fee);
  std::string note;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (!note.empty()) note += '\n';
    note += line;
  }
  return note;
}

std::string SavingFigureCellText(std::string text, bool paysEveryDebt) {
  return paysEveryDebt ? text : "\u2014";
}

std::string SavingClause(Money interestSaved, bool paysEveryDebt, const StatementWords& words) {
  const auto& tr = words.translate;
  switch (SavingKindOf(interestSaved, paysEveryDebt)) {
    case SavingKind::kSaves:
      return tr("the plan saves you") + " " + words.money(interestSaved) + " " + tr("in interest");
    case SavingKind::kSavesNothing: return tr("the plan saves no interest");
    case SavingKind::kCosts:
      return tr("the plan costs") + " " + words.money(-interestSaved) + " " +
             tr("more in interest than today's payments");
    case SavingKind::kNotASaving: break;
  }
  return tr("the plan shows no saving, since it never pays off every debt");
}

namespace {

// The never-paid-off sentences of both plans and the power payment that would end them.
void WriteUnpaid(const PlanStatements& s, const StatementWords& words, StatementTexts& t) {
  const auto& tr = words.translate;
  if (!s.proposedUnpaid.empty()) {
    t.proposedUnpaid = tr(s.proposedUnpaid.size() == 1 ? "this debt is never paid off"
                                                       : "these debts are never paid off") +
                       ": " + JoinedNames(NamesOf(s.proposedUnpaid), words);
    const std::string by = words.monthYear(s.powerPaymentBy);
    t.powerPayment =
        s.powerPaymentNeeded.attainable
            ? tr("A power payment of") + " " + words.money(s.powerPaymentNeeded.powerPayment) +
                  " " + tr("a month would pay off every debt by") + " " + by + "."
            : tr("No power payment of up to") + " " + words.money(kMostPowerPayment) + " " +
                  tr("a month pays off every debt by") + " " + by + ".";
  }
  if (!s.currentUnpaid.empty()) {
    const bool one = s.currentUnpaid.size() == 1;
    t.currentUnpaid = tr("On today's payments,") + " ";
    t.currentUnpaid += one ? s.currentUnpaid.front().name + " " + tr("is never paid off")
                           : tr("these debts are never paid off") + ": " +
                                 JoinedNames(NamesOf(s.currentUnpaid), words);
    if (s.horizonMonths > 0) {
      std::vector<std::string> owed;
      for (const UnpaidDebt& debt : s.currentUnpaid) owed.push_back(words.money(debt.owedAtHorizon));
      t.currentUnpaid += (one ? ": " : "; ") + tr("after") + " " +
                         words.years(s.horizonMonths / 12.0) + " " +
                         tr(s.horizonMonths == 12 ? "year you would still owe"
                                                  : "years you would still owe") +
                         " " + JoinedNames(owed, words);
    }
    t.currentUnpaid += ".";
  }
}

// What the plan saves or costs in interest, as a sentence, a label and a table cell.
void WriteSaving(const PlanStatements& s, const StatementWords& words, StatementTexts& t) {
  const auto& tr = words.translate;
  const std::string saved = words.money(s.interestSaved);
  switch (s.saving) {
    case SavingKind::kSaves:
      t.saving = s.currentUnpaid.empty()
                     ? tr("The plan saves") + " " + saved + " " + tr("in interest.")
                     : tr("Over the same") + " " + Integer(s.horizonMonths) + " " +
                           tr("months, the plan saves") + " " + saved + " " + tr("in interest.");
      t.averageSaving = tr("on average") + " " + words.money(s.averageMonthlySaving) + " " +
                        tr("a month over the") + " " + Integer(s.planMonths) + " " +
                        tr("months of the plan");
      t.savingLabel = s.currentUnpaid.empty() ? tr("Interest saved")
                                              : tr("Interest saved over") + " " +
                                                    Integer(s.horizonMonths) + " " + tr("months");
      t.savingCell = saved;
      break;
    case SavingKind::kSavesNothing:
      t.saving = tr("The plan saves no interest.");
      t.savingLabel = tr("Interest saved");
      t.savingCell = tr("None");
      break;
    case SavingKind::kCosts:
      t.saving = s.currentUnpaid.empty()
                     ? tr("The plan costs") + " " + words.money(-s.interestSaved) + " " +
                           tr("more in interest than today's payments.")
                     : tr("Over the same") + " " + Integer(s.horizonMonths) + " " +
                           tr("months, the plan costs") + " " + words.money(-s.interestSaved) +
                           " " + tr("more in interest than today's payments.");
      t.savingLabel = tr("More interest than today");
      t.savingCell = words.money(-s.interestSaved);
      break;
    case SavingKind::kNotASaving:
      t.saving = tr("As it stands, the plan never pays off every debt, so it shows no saving.");
      t.savingLabel = tr("Interest saved");
      t.savingCell = "\u2014";
      break;
  }
}

// The note of a reduced or waived fee; empty when the fee is as set.
std::string FeeText(const FeeStatement& fee, const StatementWords& words) {
  const auto& tr = words.translate;
  if (fee.kind == FeeKind::kAsSet) return {};
  std::string text =
      fee.savesBeforeFee
          ? tr("Because the interest the plan saves before its fee is below the minimum "
               "saving of")
          : tr("Because the plan saves no interest before its fee, and so falls short of "
               "the minimum saving of");
  text += " " + words.money(fee.minSavings) + ", ";
  text +=
      fee.kind == FeeKind::kWaived
          ? tr("the setup fee of") + " " + words.money(fee.usualSetupFee) + " " + tr("is waived")
          : tr("the setup fee is") + " " + words.money(fee.setupFee) + " " + tr("instead of") +
                " " + words.money(fee.usualSetupFee);
  if (fee.downPayment != fee.usualDownPayment) {
    text += ", " + tr("and the down payment is") + " " + words.money(fee.downPayment) + " " +
            tr("instead of") + " " + words.money(fee.usualDownPayment);
  }
  text += ".";
  return text;
}

}  // namespace

StatementTexts WriteStatements(const PlanStatements& s, const StatementWords& words) {
  const auto& tr = words.translate;
  StatementTexts t;
  WriteUnpaid(s, words, t);
  WriteSaving(s, words, t);

  if (s.investmentIsSavings && s.investmentValue > Money()) {
    t.investment = tr("By investing the payments that the plan frees once your debts are gone, "
                      "at") +
                   " " + words.percent2(s.returnRatePercent) + " " +
                   tr("a year, you could build savings of") + " " +
                   words.money(s.investmentValue) + " " + tr("over the same period.");
  }

  t.fee = FeeText(s.fee, words);

  if (TodaysInterestVaries(s)) {
    t.strategies = tr("Today's payments never pay off") + " " +
                   JoinedNames(NamesOf(s.currentUnpaid), words) + ", " +
                   tr("so each strategy counts today's interest over its own months: today's "
                      "interest, and with it the interest saved, differs from row to row.");
  }
  return t;
}

}  // namespace ardvane
