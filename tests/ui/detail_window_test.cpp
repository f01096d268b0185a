// The monthly tables and recommendation windows on the offscreen platform, and the main
// window's commands that open them.
#include "ui/dialogs/detail_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

#include "engine/calendar.h"
#include "figures/csv_tables.h"
#include "planfiles/plan_file.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_support.h"
#include "tests/ui/fake_prompts.h"
#include "ui/main/main_window.h"
#include "ui/dialogs/recommendation_window.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::kPointRegional;
using testing::MakeDebt;

using RecordingPrompts = testing::FakePrompts;

PlanDocument ConsolidatingPlan() {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 6, 1);
  plan.ReturnRate = Percent(6);
  plan.Consolidate = true;
  plan.ConsolidationLoan.InterestRate = Percent(9.9);
  plan.ConsolidationLoan.Term = 5;
  plan.Debts.AddDebt(Consolidated(MakeDebt("Card", 2000, 19.9, 80, 40)));
  plan.Debts.AddDebt(MakeDebt("Car", 9000, 4, 300, 300));
  plan.Debts.AddDebt(Consolidated(MakeDebt("Furniture", 1234.5, 9.9, 123.456, 50)));
  return plan;
}

PlanResults Calculated(const PlanDocument& plan) {
  PlanParameters params;
  params.PermitConsolidate = true;
  return Calculate(plan, params, AppSettings{});
}

template <typename T>
T* Find(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

TEST(DetailWindowTest, MessagesStandInForSchedulesThatDoNotExist) {
  const PlanDocument plan = ConsolidatingPlan();
  const PlanResults results = Calculated(plan);
  testing::FakePrompts prompts;
  DetailWindow window(plan, results, kPointRegional, prompts, "plan.bvx", nullptr);
  window.show();
  auto* list = Find<QListWidget>(window, "listDebts");
  auto* panel = Find<QLabel>(window, "pnlNoAmortization");
  auto* grid = Find<QTableView>(window, "gridAmortization");
  auto* investment = Find<QTableView>(window, "gridInvestment");
  auto* group = Find<QGroupBox>(window, "grpAmortization");
  ASSERT_EQ(list->count(), 5);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(Find<QRadioButton>(window, "optCurrent")->isChecked());
  EXPECT_TRUE(grid->isVisible());
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(grid->model()->rowCount(), results.CurrentPlan.GetDebtFreeMonths());
  EXPECT_EQ(grid->model()->index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 128));

  // A consolidated debt in the proposed plan.
  list->setCurrentRow(1);
  Find<QRadioButton>(window, "optProposed")->click();
  EXPECT_FALSE(grid->isVisible());
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->text(), "Card was paid off as part of the debt elimination plan.");

  // The new loan in the current plan.
  list->setCurrentRow(4);
  EXPECT_TRUE(grid->isVisible());  // the new loan has a proposed schedule
  EXPECT_EQ(grid->model()->index(0, 2).data(Qt::ForegroundRole).value<QColor>(),
            QColor(128, 0, 128));
  Find<QRadioButton>(window, "optCurrent")->click();
  EXPECT_EQ(panel->text(), "Consolidation loan is not a current debt.");
  EXPECT_FALSE(grid->isVisible());

  // The projection greys out the list; going back shows the entry chosen before.
  list->setCurrentRow(2);
  Find<QRadioButton>(window, "optInvestment")->click();
  EXPECT_FALSE(list->isEnabled());
  EXPECT_EQ(group->title(), "Investment Value Projection");
  EXPECT_TRUE(investment->isVisible());
  EXPECT_FALSE(grid->isVisible());
  EXPECT_EQ(investment->model()->rowCount(), results.ProjectionMonths);
  Find<QRadioButton>(window, "optCurrent")->click();
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(group->title(), "Amortization Schedule");
  EXPECT_FALSE(investment->isVisible());
  EXPECT_TRUE(grid->isVisible());
  EXPECT_EQ(grid->model()->rowCount(), results.CurrentPlan.GetLoan(1)->PayoffMonths());
}

// A debt never paid off today (A: 1,000 at 12 % paying 5, beside B, 100 paying 50; the plan
// pays both off in 22 months): its table and today's "All Debts" run those 22 months, with a
// note saying so above them (the CSV's rows are checked against these tables in figures).
TEST(DetailWindowTest, ADebtNeverPaidOffShowsTheMonthsBothPlansAreComparedOver) {
  PlanDocument plan;
  plan.Date = EncodeDate(2024, 1, 15);
  plan.Debts.AddDebt(MakeDebt("A", 1000, 12, 5));
  plan.Debts.AddDebt(MakeDebt("B", 100, 0, 50));
  const PlanResults results = Calculated(plan);
  RecordingPrompts prompts;
  DetailWindow window(plan, results, kPointRegional, prompts, "A.bvx", nullptr);
  window.show();
  auto* list = Find<QListWidget>(window, "listDebts");
  auto* grid = Find<QTableView>(window, "gridAmortization");
  auto* note = Find<QLabel>(window, "lblNeverPaidOff");
  const QString said =
      "A is never paid off. The table shows the 22 months over which both plans are compared; "
      "$1,122.36 is still owed after them.";

  EXPECT_EQ(grid->model()->rowCount(), 22);  // "All Debts" today
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), said);
  list->setCurrentRow(1);
  EXPECT_EQ(grid->model()->rowCount(), 22);
  EXPECT_EQ(grid->model()->index(21, 6).data().toString(), "$1,122.36");
  EXPECT_EQ(note->text(), said);
  list->setCurrentRow(2);  // B is paid off in 2 months
  EXPECT_EQ(grid->model()->rowCount(), 2);
  EXPECT_FALSE(note->isVisible());
  list->setCurrentRow(1);
  Find<QRadioButton>(window, "optProposed")->click();  // the plan pays A off
  EXPECT_EQ(grid->model()->rowCount(), 21);
  EXPECT_FALSE(note->isVisible());
  Find<QRadioButton>(window, "optCurrent")->click();
  EXPECT_TRUE(note->isVisible());
  Find<QRadioButton>(window, "optInvestment")->click();
  EXPECT_FALSE(note->isVisible());
}

TEST(DetailWindowTest, TheRecommendationGridMarksCurrentAndRecommendedDebts) {
  PlanDocument plan = ConsolidatingPlan();
  const PlanResults results = Calculated(plan);
  int accepted = 0;
  RecommendationWindow dialog(
      plan, results, kPointRegional, [&accepted] { ++accepted; }, nullptr);
  EXPECT_EQ(Find<QLabel>(dialog, "lblInterestRate")->text(), "9.900%");
  auto* grid = Find<QTableWidget>(dialog, "gridDebts");
  ASSERT_EQ(grid->rowCount(), 3);
  const char* expected[][6] = {
      {"Card", "$2,000.00", "19.900%", "$80.00", "          X", "          X"},
      {"Car", "$9,000.00", "4.000%", "$300.00", "", ""},
      // 123.456 to five significant digits; the exact rate is recommended.
      {"Furniture", "$1,234.50", "9.900%", "$123.46", "          X", "          X"}};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 6; ++col) {
      EXPECT_EQ(grid->item(row, col)->text().toStdString(), expected[row][col])
          << row << "," << col;
    }
  }
  Find<QPushButton>(dialog, "btnReject")->click();
  EXPECT_EQ(accepted, 0);
  Find<QPushButton>(dialog, "btnAccept")->click();
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(RoundToSignificantDigits(testing::M(12345.5), 5), testing::M(12346));
  EXPECT_EQ(RoundToSignificantDigits(testing::M(-99999.7), 5), testing::M(-100000));
}

TEST(DetailWindowTest, TheMainWindowAppliesTheRecommendationAndEnablesDetailsWithDebts) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "Params.ini", "[Permissions]\nConsolidate=1\n");
  PlanDocument plan = ConsolidatingPlan();
  testing::ChangeDebt(plan.Debts, 1, [](Debt& d) { d.Consolidate = true; });
  ASSERT_TRUE(SaveData(plan, folder / "Plan.bvx").ok());
  RecordingPrompts prompts;
  MainWindowOptions options;
  options.programFolder = folder.path();
  options.today = EncodeDate(2024, 6, 1);

  MainWindow empty(options, prompts);
  EXPECT_FALSE(Find<QPushButton>(empty, "bitbtnDetails")->isEnabled());
  empty.ShowRecommendation();
  ASSERT_EQ(prompts.information.size(), 1u);
  EXPECT_EQ(prompts.information[0].substr(0, 28), "No debts have been entered.\n");

  options.arguments = {(folder / "Plan.bvx").string()};
  MainWindow window(options, prompts);
  EXPECT_TRUE(Find<QPushButton>(window, "bitbtnDetails")->isEnabled());
  ASSERT_FALSE(window.Session().Changed());
  const Money payoffBefore = window.Results().PayoffBalance;
  window.SelectDebtsToConsolidate(true);
  EXPECT_EQ(prompts.information.back().substr(0, 42), "The recommendations have been implemented.");
  EXPECT_FALSE(window.Session().Plan().Debts.At(1).Consolidate);  // 4 % < 9.9 %
  EXPECT_EQ(window.Results().PayoffBalance, payoffBefore - testing::M(9000));
  EXPECT_EQ(Find<QTableView>(window, "gridDebts")->model()->index(1, 8).data().toString(), "No");

  // A second time nothing changes, but the plan still counts as changed.
  window.SavePlan(false);
  ASSERT_FALSE(window.Session().Changed());
  window.SelectDebtsToConsolidate(true);
  EXPECT_EQ(prompts.information.back().substr(0, 21), "No changes were made.");
  EXPECT_TRUE(window.Session().Changed());
}

// Export CSV writes what the prompts chose: the table shown, or every amortization table,
// in the spreadsheet flavour; a file that cannot be written is an error and nothing else.
TEST(DetailWindowTest, ExportCsvWritesTheTableShownOrEveryTable) {
  testing::TempFolder folder;
  const PlanDocument plan = ConsolidatingPlan();
  const PlanResults results = Calculated(plan);
  RecordingPrompts prompts;
  DetailWindow window(plan, results, kPointRegional, prompts, folder / "Ruiz.bvx", nullptr);
  window.show();
  EXPECT_EQ(Find<QPushButton>(window, "btnExportCsv")->text(), "Export &CSV\u2026");
  const auto exportWith = [&](const char* action, const std::filesystem::path& target) {
    prompts.csvFile = target;
    Find<QAction>(window, action)->trigger();
    return testing::ReadFile(target);
  };

  // "All Debts" of the proposed plan.
  Find<QRadioButton>(window, "optProposed")->click();
  EXPECT_EQ(exportWith("ExportShownCsv", folder / "shown.csv"),
            MonthlyTableCsv(MonthlyTable::Amortization(results, plan.Date, false, -1),
                            CsvFlavour::kSpreadsheet));
  EXPECT_EQ(prompts.csvProposed, folder / "Ruiz - All Debts - Proposed.csv");
  Find<QRadioButton>(window, "optInvestment")->click();
  EXPECT_EQ(exportWith("ExportShownCsv", folder / "investment.csv"),
            MonthlyTableCsv(MonthlyTable::Investment(results, plan.Date), CsvFlavour::kSpreadsheet));
  const std::string all = exportWith("ExportAllCsv", folder / "all.csv");
  EXPECT_EQ(all, AmortizationCsv(plan, results, CsvFlavour::kSpreadsheet));
  EXPECT_TRUE(all.starts_with("\xEF\xBB\xBF"));
  EXPECT_EQ(prompts.csvProposed, folder / "Ruiz - Amortization.csv");

  // A consolidated debt has no proposed schedule: nothing to write, and it is said.
  Find<QRadioButton>(window, "optProposed")->click();
  Find<QListWidget>(window, "listDebts")->setCurrentRow(1);  // Card, consolidated
  prompts.csvFile = folder / "none.csv";
  Find<QAction>(window, "ExportShownCsv")->trigger();
  EXPECT_FALSE(std::filesystem::exists(folder / "none.csv"));
  ASSERT_EQ(prompts.information.size(), 1u);
  EXPECT_EQ(prompts.information[0],
            "There is no table to export: Card was paid off as part of the debt elimination plan.");

  // A folder that is not there: an error naming the file, and no file.
  const auto missing = folder / "no such folder" / "x.csv";
  prompts.csvFile = missing;
  Find<QAction>(window, "ExportAllCsv")->trigger();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_TRUE(prompts.errors[0].starts_with("The table could not be saved as " + missing.string()))
      << prompts.errors[0];
  EXPECT_FALSE(std::filesystem::exists(missing));
  // Cancelled: nothing asked of the file system, nothing shown.
  prompts.csvFile.reset();
  Find<QAction>(window, "ExportAllCsv")->trigger();
  EXPECT_EQ(prompts.errors.size(), 1u);
}

}  // namespace
}  // namespace ardvane
