#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// What the monthly tables window shows, without the window: the entries of its debt list,
// whether an entry has a schedule in a plan, and the tables themselves, whose cells are
// written only when asked for, so a 1080-month table costs nothing until it is looked at.
// The window and the tables' CSV (csv_tables.h) both choose their rows here.

// Calendar year and month of schedule month m (0 is the plan date's own month).
YearMonth YearAndMonthOf(DayNumber planDate, int m);

// "All Debts", the display name of every debt in listed order, and the new loan when the
// plan is consolidating. List entry k >= 1 is loan k - 1 of both plans.
std::vector<std::string> DetailListEntries(const PlanDocument& plan, const PlanResults& results);

// Whether loan `index` (-1 for all debts together) has a schedule in the current plan
// (`current`) or the proposed one: the new loan has no current schedule, and a debt paid off
// by the new loan has no proposed schedule.
bool ShowAmortization(const PlanDocument& plan, const PlanResults& results, bool current,
                      int index);

// The panel's text in place of a schedule that does not exist, for the list entry `entry`.
std::string NoAmortizationMessage(const std::string& entry, bool current);

// The months a schedule shows, from month 0: a loan's until it is paid off; a loan never paid
// off, the months both plans' interest is compared over (PlanResults::InterestHorizonMonths),
// so that its interest column adds up to the total interest it counts; all loans together
// (index -1), until the last payoff, or over those months when one of them is never paid off.
// In every case the interest column adds up to the TotalInterest of the loan or the plan.
int ScheduleMonths(const PlanResults& results, bool current, int index);

// Said above the table of loan `index` (-1: all loans) of the current or proposed plan when
// it holds a debt never paid off: the debt named, the months shown and what is still owed
// after them. None when every debt in the table is paid off.
std::optional<std::string> NeverPaidOffTableNote(const PlanDocument& plan,
                                                 const PlanResults& results, bool current,
                                                 int index, const RegionalSettings& regional);

// One month-by-month table: the year, the month and four or five amounts per month.
class MonthlyTable {
 public:
  // An empty table with the amortization headings.
  MonthlyTable();
  // The schedule of loan `index` of the current or proposed plan, or of all loans together
  // (index -1): one row per month of ScheduleMonths.
  static MonthlyTable Amortization(const PlanResults& results, DayNumber planDate, bool current,
                                   int index);
  // The proposed plan's investment projection: one row per projection month.
  static MonthlyTable Investment(const PlanResults& results, DayNumber planDate);

  int RowCount() const { return rows_; }
  // The investment projection (six columns) rather than an amortization table (seven).
  bool IsInvestment() const { return source_ == Source::Investment; }
  // Calendar year and month of row m.
  YearMonth YearAndMonth(int m) const { return YearAndMonthOf(planDate_, m); }
  int ColumnCount() const { return static_cast<int>(headings_.size()); }
  const std::vector<std::string>& Headings() const { return headings_; }
  // Columns from 2 on hold money.
  static bool IsMoneyColumn(int column) { return column >= 2; }
  // The amount of money column `column` in month m (row m of the table, from 0).
  Money Amount(int m, int column) const;
  // The text of a cell: the year, the three-letter month, or the amount in money format with
  // 2 decimals.
  std::string Cell(int m, int column, const RegionalSettings& regional) const;
  // The texts of the largest and of the most negative amount of a money column: whichever is
  // written widest sets the column's width.
  std::vector<std::string> WidestTexts(int column, const RegionalSettings& regional) const;

 private:
  enum class Source { None, AllLoans, Loan, Investment };
  Source source_ = Source::None;
  const LoanSchedule* plan_ = nullptr;
  const Loan* loan_ = nullptr;
  const InvestmentAsset* asset_ = nullptr;
  DayNumber planDate_ = 0;
  int rows_ = 0;
  std::vector<std::string> headings_;
};

}  // namespace ardvane
