#include "figures/detail_tables.h"

#include <algorithm>

#include "engine/month_names.h"
#include "figures/display_formats.h"

namespace ardvane {
namespace {

const std::vector<std::string> kAmortizationHeadings = {
    "Year", "Month", "Beg Bal", "Interest", "Payment", "Extra Pmt", "End Bal"};
const std::vector<std::string> kInvestmentHeadings = {"Year",   "Month",   "Beg Bal",
                                                      "Growth", "Savings", "End Bal"};

}  // namespace

YearMonth YearAndMonthOf(DayNumber planDate, int m) {
  const CivilDate date = DecodeDate(planDate);
  const int fromJanuary = date.month - 1 + m;
  return {date.year + fromJanuary / 12, fromJanuary % 12 + 1};
}

std::vector<std::string> DetailListEntries(const PlanDocument& plan, const PlanResults& results) {
  std::vector<std::string> entries = {"All Debts"};
  const int debts = plan.Debts.GetDebtCount();
  for (int i = 0; i < debts; ++i) entries.push_back(GetDebtName(plan, results, i));
  if (results.Consolidating) entries.push_back(GetDebtName(plan, results, debts));
  return entries;
}

bool ShowAmortization(const PlanDocument& plan, const PlanResults& results, bool current,
                      int index) {
  if (index < 0) return true;
  const int debts = plan.Debts.GetDebtCount();
  if (current) return index < debts;
  if (index >= debts) return true;
  return !(results.Consolidating && plan.Debts.At(index).Consolidate);
}

std::string NoAmortizationMessage(const std::string& entry, bool current) {
  return entry + (current ? " is not a current debt."
                          : " was paid off as part of the debt elimination plan.");
}

int ScheduleMonths(const PlanResults& results, bool current, int index) {
  const LoanSchedule& plan = current ? results.CurrentPlan : results.ProposedPlan;
  // A loan never paid off runs to the last month any schedule has; the horizon lies within.
  const auto horizonOf = [&results](const Loan& loan) {
    return std::clamp(results.InterestHorizonMonths, 0, loan.ComputedMonths());
  };
  if (index >= 0) {
    const Loan* loan = plan.GetLoan(index);
    if (!loan) return 0;
    return loan->NeverPaidOff() ? horizonOf(*loan) : std::max(0, loan->PayoffMonths());
  }
  int months = std::max(0, plan.GetDebtFreeMonths());
  for (int i = 0; i < plan.GetCount(); ++i) {
    const Loan& loan = *plan.GetLoan(i);
    if (loan.NeverPaidOff()) months = std::max(months, horizonOf(loan));
  }
  return months;
}

std::optional<std::string> NeverPaidOffTableNote(const PlanDocument& plan,
                                                 const PlanResults& results, bool current,
                                                 int index, const RegionalSettings& regional) {
  const LoanSchedule& loans = current ? results.CurrentPlan : results.ProposedPlan;
  std::vector<int> never;
  for (int i = 0; i < loans.GetCount(); ++i) {
    if ((index < 0 || i == index) && loans.GetLoan(i)->NeverPaidOff()) never.push_back(i);
  }
  if (never.empty()) return std::nullopt;
  std::string names;
  Money owed;
  const int months = ScheduleMonths(results, current, index);
  for (const int i : never) {
    if (!names.empty()) names += i == never.back() ? " and " : ", ";
    names += GetDebtName(plan, results, i);
    owed += loans.GetLoan(i)->GetBeginBalance(months);
  }
  std::string note = names + (never.size() == 1 ? " is" : " are") + " never paid off";
  if (months == 0) {
    return note + ", and neither plan pays any debt off, so the table has no months to show.";
  }
  return note + ". The table shows the " + FormatMonthCount(months) +
         " over which both plans are compared; " + FormatMoney(owed, 2, regional) +
         " is still owed after them.";
}

MonthlyTable::MonthlyTable() : headings_(kAmortizationHeadings) {}

MonthlyTable MonthlyTable::Amortization(const PlanResults& results, DayNumber planDate,
                                        bool current, int index) {
  MonthlyTable table;
  table.planDate_ = planDate;
  table.plan_ = current ? &results.CurrentPlan : &results.ProposedPlan;
  if (index < 0) {
    table.source_ = Source::AllLoans;
  } else if (const Loan* loan = table.plan_->GetLoan(index)) {
    table.source_ = Source::Loan;
    table.loan_ = loan;
  }
  if (table.source_ != Source::None) table.rows_ = ScheduleMonths(results, current, index);
  return table;
}

MonthlyTable MonthlyTable::Investment(const PlanResults& results, DayNumber planDate) {
  MonthlyTable table;
  table.headings_ = kInvestmentHeadings;
  table.planDate_ = planDate;
  table.source_ = Source::Investment;
  table.asset_ = &results.ProposedInvestment;
  table.rows_ = std::max(0, results.ProjectionMonths);
  return table;
}

Money MonthlyTable::Amount(int m, int column) const {
  switch (source_) {
    case Source::AllLoans:
      switch (column) {
        case 2:
          return plan_->GetTotalBeginBalance(m);
        case 3:
          return plan_->GetTotalInterestOfMonth(m);
        case 4:
          return plan_->GetTotalPayment(m);
        case 5:
          return plan_->GetTotalExtraPayment(m);
        case 6:
          return plan_->GetTotalEndBalance(m);
      }
      break;
    case Source::Loan:
      switch (column) {
        case 2:
          return loan_->GetBeginBalance(m);
        case 3:
          return loan_->GetInterest(m);
        case 4:
          return loan_->GetPayment(m);
        case 5:
          return loan_->GetExtraPayment(m);
        case 6:
          return loan_->GetEndBalance(m);
      }
      break;
    case Source::Investment:
      switch (column) {
        case 2:
          return asset_->GetBeginValue(m);
        case 3:
          return asset_->GetGrowth(m);
        case 4:
          return asset_->GetContribution(m);
        case 5:
          return asset_->GetEndValue(m);
      }
      break;
    case Source::None:
      break;
  }
  return Money();
}

std::string MonthlyTable::Cell(int m, int column, const RegionalSettings& regional) const {
  if (m < 0 || m >= rows_ || column < 0 || column >= ColumnCount()) return "";
  if (column == 0) return std::to_string(YearAndMonthOf(planDate_, m).year);
  if (column == 1) return GetShortMonthName(YearAndMonthOf(planDate_, m).month, Language::kEnglish);
  return FormatMoney(Amount(m, column), 2, regional);
}

std::vector<std::string> MonthlyTable::WidestTexts(int column,
                                                   const RegionalSettings& regional) const {
  Money largest;
  Money lowest;
  for (int m = 0; m < rows_; ++m) {
    const Money amount = Amount(m, column);
    largest = std::max(largest, amount);
    lowest = std::min(lowest, amount);
  }
  return {FormatMoney(largest, 2, regional), FormatMoney(lowest, 2, regional)};
}

}  // namespace ardvane
