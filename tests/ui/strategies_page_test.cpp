// The page "Strategies" of the main window on the offscreen platform, with the sample plan.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "engine/calendar.h"
#include "figures/display_formats.h"
#include "figures/plan_statements.h"
#include "figures/strategies.h"
#include "tests/figures/test_plans.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"
#include "tests/ui/fake_prompts.h"
#include "ui/main/main_window.h"
#include "ui/main/strategies_page.h"

namespace ardvane {
namespace {

using testing::TempFolder;
using testing::WriteFile;

class StrategiesPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The sample consolidates, so the comparison needs the same permission as the window.
    WriteFile(folder / "Params.ini",
              "[Default]\nSetup Fee=995\nReturn Rate=6\nTerm=5\nInterest Rate=7.5\n"
              "[Permissions]\nConsolidate=1\n");
    MainWindowOptions options;
    options.programFolder = folder.path();
    options.regional = testing::kPointRegional;
    options.today = EncodeDate(2024, 6, 15);
    options.arguments = {(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx").string()};
    window = std::make_unique<MainWindow>(options, prompts);
    window->show();
    pages = window->findChild<QTabWidget*>("PageControl1");
    page = window->findChild<StrategiesPage*>("tsStrategies");
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(page, nullptr);
    grid = page->Table();
  }
  StrategyComparison Expected() const {
    return CompareStrategies(window->Session().Plan(), window->Params(), window->Settings());
  }
  void ShowPage() { pages->setCurrentWidget(page); }
  int RowOfCode(int code) const {
    for (int row = 0; row < grid->rowCount(); ++row) {
      if (page->CodeOfRow(row) == code) return row;
    }
    return -1;
  }

  TempFolder folder;
  testing::FakePrompts prompts;
  std::unique_ptr<MainWindow> window;
  QTabWidget* pages = nullptr;
  StrategiesPage* page = nullptr;
  QTableWidget* grid = nullptr;
};

TEST_F(StrategiesPageTest, EachRowIsOneGroupOfTheComparisonWithItsMarks) {
  EXPECT_EQ(pages->tabText(pages->indexOf(page)), "Strategies");
  EXPECT_EQ(pages->indexOf(page), 4);  // after "New Loan"
  // Nothing is compared while the page is out of view.
  EXPECT_EQ(grid->rowCount(), 0);
  ShowPage();

  const StrategyComparison expected = Expected();
  ASSERT_EQ(grid->rowCount(), static_cast<int>(expected.groups.size()));
  const RegionalSettings& regional = testing::kPointRegional;
  int mostSavedRows = 0;
  for (int row = 0; row < grid->rowCount(); ++row) {
    SCOPED_TRACE(row);
    const std::vector<int>& group = expected.groups[row];
    const PriorityFigures& f = expected.strategies[group.front()];
    const bool chosen = std::ranges::count(group, 0) > 0;  // the sample's own code is 0
    QStringList names;
    for (int code : group) names << QString::fromStdString(std::string(PriorityCaption(code)));
    EXPECT_EQ(grid->item(row, 0)->text(), names.join("\n") + (chosen ? "\n(this plan)" : ""));
    EXPECT_EQ(grid->item(row, 0)->font().bold(), chosen);
    EXPECT_EQ(page->CodeOfRow(row), chosen ? 0 : group.front());
    EXPECT_EQ(grid->item(row, 1)->text().toStdString(),
              std::to_string(f.proposed.months) + " months\n" + FormatMonthYear(f.proposed.date));
    EXPECT_EQ(grid->item(row, 2)->text().toStdString(),
              FormatMoney(f.proposed.totalInterest, 2, regional));
    EXPECT_EQ(grid->item(row, 3)->text().toStdString(),
              FormatMoney(f.shownInterestSaved, 2, regional) +
                  (f.mostSaved ? "\n★ Most saved" : ""));
    EXPECT_EQ(grid->item(row, 4)->text().toStdString(),
              FormatPercent2(f.annualReturnFraction * 100, regional));
    EXPECT_EQ(grid->item(row, 5)->text().toStdString(),
              FormatMoney(f.investmentValue, 2, regional));
    // The highlight goes with the text mark, on every cell of the row.
    for (int col = 0; col < grid->columnCount(); ++col) {
      EXPECT_EQ(grid->item(row, col)->background().style() != Qt::NoBrush, f.mostSaved) << col;
    }
    mostSavedRows += f.mostSaved;
    // No text is cut off.
    for (int col = 0; col < grid->columnCount(); ++col) {
      for (const QString& line : grid->item(row, col)->text().split('\n')) {
        EXPECT_GE(grid->columnWidth(col), grid->fontMetrics().horizontalAdvance(line)) << col;
      }
    }
  }
  // Codes 0, 7 and 8 tie on the sample; 0 and 7 always share a row.
  EXPECT_EQ(RowOfCode(0), 0);
  EXPECT_EQ(std::ranges::count(expected.groups[0], 7), 1);
  EXPECT_GE(mostSavedRows, 1);
  for (int code : {0, 7, 8}) EXPECT_TRUE(expected.strategies[code].mostSaved) << code;
  EXPECT_EQ(grid->currentRow(), 0);  // the plan's own row is current
}

TEST_F(StrategiesPageTest, ChoosingARowSetsThePriorityAsTheListDoes) {
  ShowPage();
  ASSERT_GE(grid->rowCount(), 2);
  EXPECT_FALSE(window->Session().Changed());
  auto* priority = window->findChild<QComboBox*>("cboPriority");

  // Enter on a selected row.
  const int row = grid->rowCount() - 1;
  const int code = page->CodeOfRow(row);
  ASSERT_NE(code, 0);
  grid->setFocus();
  grid->setCurrentCell(row, 0);
  QTest::keyClick(grid, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(PriorityCode(window->Session().Plan().Priority), code);
  EXPECT_EQ(priority->currentIndex(), code);
  EXPECT_TRUE(window->Session().Changed());
  // The page follows at once: the chosen row now carries the mark.
  const int chosenRow = RowOfCode(code);
  ASSERT_GE(chosenRow, 0);
  EXPECT_TRUE(grid->item(chosenRow, 0)->text().endsWith("(this plan)"));
  EXPECT_FALSE(grid->item(0, 0)->text().endsWith("(this plan)"));

  // A double-click on the first row goes back to code 0.
  const QRect cell = grid->visualItemRect(grid->item(0, 0));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QApplication::processEvents();
  EXPECT_EQ(window->Session().Plan().Priority, PaydownPriority::HighestInterestRate);
  EXPECT_EQ(priority->currentIndex(), 0);
}

TEST_F(StrategiesPageTest, EditsWhileThePageIsHiddenShowWhenItComesBack) {
  ShowPage();
  pages->setCurrentIndex(0);
  auto* priority = window->findChild<QComboBox*>("cboPriority");
  priority->setCurrentIndex(4);  // Lowest Balance, chosen in the list with the page hidden
  // The hidden page still shows the figures it had: code 0 marked.
  EXPECT_TRUE(grid->item(0, 0)->text().endsWith("(this plan)"));
  ShowPage();
  const int row = RowOfCode(4);
  ASSERT_GE(row, 0);
  EXPECT_TRUE(grid->item(row, 0)->text().endsWith("(this plan)"));
  EXPECT_EQ(grid->currentRow(), row);

  // Minimize Interest shares the first row with Highest Interest Rate: the row keeps the
  // plan's own code, so choosing it changes nothing.
  priority->setCurrentIndex(7);
  EXPECT_TRUE(grid->item(0, 0)->text().endsWith("(this plan)"));
  EXPECT_EQ(page->CodeOfRow(0), 7);
  grid->setFocus();
  grid->setCurrentCell(0, 0);
  QTest::keyClick(grid, Qt::Key_Enter);
  QApplication::processEvents();
  EXPECT_EQ(window->Session().Plan().Priority, PaydownPriority::MinimizeInterest);
}

// The hopeless cards: no strategy pays every debt off, so no row shows a saving, a return or the
// mark of the most saved, and the note under the table says why today's interest differs.
TEST(StrategiesPageAloneTest, StrategiesThatNeverPayEveryDebtOffShowNoSaving) {
  const PlanDocument plan = testing::HopelessCardsPlan();
  const StrategyComparison comparison = CompareStrategies(plan, PlanParameters{}, AppSettings{});
  const PlanResults results = Calculate(plan, {}, {});
  const StatementTexts texts = WriteStatements(ComputePlanStatements(plan, {}, {}, results),
                                               EnglishStatementWords(testing::kPointRegional));
  ASSERT_FALSE(texts.strategies.empty());

  StrategiesPage page(testing::kPointRegional, nullptr);
  page.ShowComparison(comparison, texts.strategies);
  QTableWidget* grid = page.Table();
  int neverRows = 0;
  for (int row = 0; row < grid->rowCount(); ++row) {
    const PriorityFigures& f = comparison.strategies[page.CodeOfRow(row)];
    if (f.proposed.DebtFree()) continue;
    ++neverRows;
    SCOPED_TRACE(grid->item(row, 0)->text().toStdString());
    EXPECT_EQ(grid->item(row, 3)->text(), QString(u'\u2014'));
    EXPECT_EQ(grid->item(row, 4)->text(), QString(u'\u2014'));
    EXPECT_EQ(grid->item(row, 5)->text(), QString(u'\u2014'));
    EXPECT_FALSE(f.mostSaved);
  }
  EXPECT_GT(neverRows, 0);
  auto* note = page.findChild<QLabel*>("lblStrategiesNote");
  ASSERT_NE(note, nullptr);
  EXPECT_FALSE(note->isHidden());
  EXPECT_EQ(note->text().toStdString(), texts.strategies);
}

}  // namespace
}  // namespace ardvane
