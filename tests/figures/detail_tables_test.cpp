#include "figures/detail_tables.h"

#include <gtest/gtest.h>

#include "engine/calendar.h"
#include "tests/figures/test_plans.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::kPointRegional;
using testing::MakeDebt;

PlanResults Calculated(const PlanDocument& plan) {
  PlanParameters params;
  params.PermitConsolidate = true;
  return Calculate(plan, params, AppSettings{});
}

TEST(DetailTablesTest, RowsRunFromThePlanMonthAcrossTheYearEnd) {
  // 300 at no interest paid 100 a month: three months from 15 November 2024.
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 11, 15);
  plan.Debts.AddDebt(MakeDebt("Store card", 300, 0, 100, 100));
  const PlanResults results = Calculated(plan);
  const MonthlyTable table = MonthlyTable::Amortization(results, plan.Date, true, -1);
  ASSERT_EQ(table.RowCount(), 3);
  const char* expected[][2] = {{"2024", "Nov"}, {"2024", "Dec"}, {"2025", "Jan"}};
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(table.Cell(m, 0, kPointRegional), expected[m][0]) << m;
    EXPECT_EQ(table.Cell(m, 1, kPointRegional), expected[m][1]) << m;
  }
  EXPECT_EQ(table.Cell(0, 2, kPointRegional), "$300.00");
  EXPECT_EQ(table.Cell(2, 6, kPointRegional), "$0.00");
  EXPECT_EQ(table.Cell(3, 0, kPointRegional), "");  // past the last month

  // Month 0 is the plan month; a whole year on is the same month, twelve on from December too.
  const struct {
    int year, month, m, wantYear, wantMonth;
  } cases[] = {{2024, 1, 0, 2024, 1},
               {2024, 1, 11, 2024, 12},
               {2024, 12, 1, 2025, 1},
               {2024, 12, 12, 2025, 12},
               {2024, 6, 1079, 2114, 5}};
  for (const auto& c : cases) {
    const YearMonth got = YearAndMonthOf(EncodeDate(c.year, c.month, 1), c.m);
    EXPECT_EQ(got.year, c.wantYear) << c.year << "-" << c.month << " + " << c.m;
    EXPECT_EQ(got.month, c.wantMonth) << c.year << "-" << c.month << " + " << c.m;
  }
}

TEST(DetailTablesTest, WhichEntriesHaveASchedule) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 1);
  plan.Consolidate = true;
  plan.ConsolidationLoan.InterestRate = Percent(7.5);
  plan.ConsolidationLoan.Term = 5;
  plan.Debts.AddDebt(Consolidated(MakeDebt("Card", 2000, 19.9, 80, 40)));
  plan.Debts.AddDebt(MakeDebt("Car", 9000, 4, 300, 300));
  // Paying less than the interest: never paid off.
  plan.Debts.AddDebt(MakeDebt("Loan shark", 1000, 60, 20, 20));
  const PlanResults results = Calculated(plan);
  ASSERT_TRUE(results.Consolidating);
  EXPECT_EQ(
      DetailListEntries(plan, results),
      (std::vector<std::string>{"All Debts", "Card", "Car", "Loan shark", "Consolidation loan"}));

  const struct {
    int index;
    bool current, proposed;
  } cases[] = {{-1, true, true}, {0, true, false}, {1, true, true}, {3, false, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(ShowAmortization(plan, results, true, c.index), c.current) << c.index;
    EXPECT_EQ(ShowAmortization(plan, results, false, c.index), c.proposed) << c.index;
  }
  // The debt never paid off runs to the months both plans are compared over; the new loan
  // runs its term.
  ASSERT_GT(results.InterestHorizonMonths, 0);
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, true, 2).RowCount(),
            results.InterestHorizonMonths);
  EXPECT_GT(MonthlyTable::Amortization(results, plan.Date, false, 3).RowCount(), 0);

  // Nothing consolidated: the new loan is only a "New loan", and every debt keeps its schedule.
  testing::ChangeDebt(plan.Debts, 0, [](Debt& d) { d.Consolidate = false; });
  const PlanResults unconsolidated = Calculated(plan);
  EXPECT_EQ(DetailListEntries(plan, unconsolidated).back(), "New loan");
  EXPECT_TRUE(ShowAmortization(plan, unconsolidated, false, 0));
}

// The interest column of a table, added up as the window shows it (each cell is an entry).
Money InterestColumn(const MonthlyTable& table) {
  Money total;
  for (int m = 0; m < table.RowCount(); ++m) total += table.Amount(m, 3);
  return total;
}

TEST(DetailTablesTest, ADebtNeverPaidOffShowsTheMonthsBothPlansAreComparedOver) {
  const PlanDocument plan = testing::NeverPaidOffTodayPlan();
  const PlanResults results = Calculated(plan);
  ASSERT_EQ(results.InterestHorizonMonths, 22);
  const Loan& a = *results.CurrentPlan.GetLoan(0);
  ASSERT_TRUE(a.NeverPaidOff());
  EXPECT_EQ(a.TotalInterest(), testing::M(232.3577));

  // A's own table and "All Debts" of today both run 22 months, not B's 2, and their interest
  // columns add up to what each counts; the last row ends where the note says A stands.
  const MonthlyTable own = MonthlyTable::Amortization(results, plan.Date, true, 0);
  ASSERT_EQ(own.RowCount(), 22);
  EXPECT_EQ(InterestColumn(own), a.TotalInterest());
  EXPECT_EQ(own.Amount(21, 6), testing::M(1122.3577));
  EXPECT_EQ(own.Cell(21, 0, kPointRegional), "2025");
  EXPECT_EQ(own.Cell(21, 1, kPointRegional), "Oct");
  const MonthlyTable all = MonthlyTable::Amortization(results, plan.Date, true, -1);
  ASSERT_EQ(all.RowCount(), 22);
  EXPECT_EQ(InterestColumn(all), results.CurrentPlan.GetTotalInterest());
  // The plan pays everything off: its tables are as before.
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, false, -1).RowCount(), 22);
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, true, 1).RowCount(), 2);
  EXPECT_EQ(InterestColumn(MonthlyTable::Amortization(results, plan.Date, false, -1)),
            results.ProposedPlan.GetTotalInterest());

  const std::string note =
      "A is never paid off. The table shows the 22 months over which both plans are compared; "
      "$1,122.36 is still owed after them.";
  EXPECT_EQ(NeverPaidOffTableNote(plan, results, true, 0, kPointRegional), note);
  EXPECT_EQ(NeverPaidOffTableNote(plan, results, true, -1, kPointRegional), note);
  EXPECT_EQ(NeverPaidOffTableNote(plan, results, true, 1, kPointRegional), std::nullopt);
  EXPECT_EQ(NeverPaidOffTableNote(plan, results, false, -1, kPointRegional), std::nullopt);
}

// When neither plan pays off any debt there are no months to compare over: the tables are
// empty, count no interest, and the note says why.
TEST(DetailTablesTest, WhenNoDebtIsEverPaidOffTheTablesAreEmptyAndSaySo) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5, 5));
  plan.Debts.AddDebt(MakeDebt("C", 2000, 24, 10, 10));
  const PlanResults results = Calculated(plan);
  ASSERT_EQ(results.InterestHorizonMonths, 0);
  for (const bool current : {true, false}) {
    for (const int index : {-1, 0, 1}) {
      EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, current, index).RowCount(), 0)
          << current << " " << index;
    }
  }
  EXPECT_EQ(NeverPaidOffTableNote(plan, results, true, -1, kPointRegional),
            "A and C are never paid off, and neither plan pays any debt off, so the table has no "
            "months to show.");
}

TEST(DetailTablesTest, APlanWithoutDebtsListsOnlyAllDebtsAndShowsNoRows) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 1);
  PlanResults results = Calculated(plan);
  EXPECT_EQ(DetailListEntries(plan, results), std::vector<std::string>{"All Debts"});
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, false, -1).RowCount(), 0);
  plan.Consolidate = true;
  results = Calculated(plan);
  EXPECT_EQ(DetailListEntries(plan, results), (std::vector<std::string>{"All Debts", "New loan"}));
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, false, 0).RowCount(), 0);
}

}  // namespace
}  // namespace ardvane
