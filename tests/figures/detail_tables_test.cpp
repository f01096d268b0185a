#include "figures/detail_tables.h"

#include <gtest/gtest.h>

#include "engine/calendar.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::Debt;
using testing::kPointRegional;

PlanResults Calculated(const PlanDocument& plan) {
  PlanParameters params;
  params.PermitConsolidate = true;
  return Calculate(plan, params, AppSettings{}, kPointRegional);
}

TEST(DetailTablesTest, RowsRunFromThePlanMonthAcrossTheYearEnd) {
  // 300 at no interest paid 100 a month: three months from 15 November 2024.
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 11, 15);
  plan.Debts.AddDebt(Debt("Store card", "300", "0", "100", "100"), kPointRegional);
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
  plan.ConsolidationLoan.InterestRate = 7.5;
  plan.ConsolidationLoan.Term = 5;
  plan.Debts.AddDebt(Consolidated(Debt("Card", "2000", "19.9", "80", "40")), kPointRegional);
  plan.Debts.AddDebt(Debt("Car", "9000", "4", "300", "300"), kPointRegional);
  // Paying less than the interest: never paid off.
  plan.Debts.AddDebt(Debt("Loan shark", "1000", "60", "20", "20"), kPointRegional);
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
  // The debt never paid off has only the heading; the new loan runs its term.
  EXPECT_EQ(MonthlyTable::Amortization(results, plan.Date, true, 2).RowCount(), 0);
  EXPECT_GT(MonthlyTable::Amortization(results, plan.Date, false, 3).RowCount(), 0);

  // Nothing consolidated: the new loan is only a "New loan", and every debt keeps its schedule.
  plan.Debts.SetCell(0, DebtCol::Consolidate, "");
  const PlanResults unconsolidated = Calculated(plan);
  EXPECT_EQ(DetailListEntries(plan, unconsolidated).back(), "New loan");
  EXPECT_TRUE(ShowAmortization(plan, unconsolidated, false, 0));
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
