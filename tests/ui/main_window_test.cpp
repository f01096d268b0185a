#include "ui/main/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>

#include "engine/calculation_limits.h"
#include "engine/calendar.h"
#include "figures/display_formats.h"
#include "figures/payoff_payment.h"
#include "planfiles/plan_file.h"
#include "reports/document_output.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"
#include "tests/test_support.h"
#include "tests/ui/fake_prompts.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/widgets/amount_field.h"

namespace ardvane {
namespace {

using testing::FakePrompts;
using testing::kToday;
using testing::MainWindowTest;
using testing::Params;
using testing::ReadFile;
using testing::TempFolder;
using testing::TwoDebtPlan;
using testing::WriteFile;

TEST_F(MainWindowTest, AFirstStartWithoutFilesShowsANewEmptyPlan) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), "Ardvane - Untitled.bvx");
  EXPECT_EQ(window->Session().Plan().Date, kToday);
  EXPECT_FALSE(window->Session().Changed());
  EXPECT_FALSE(Find<QGroupBox>(*window, "grpConsolidation")->isVisible());
  auto* pages = Find<QTabWidget>(*window, "PageControl1");
  EXPECT_FALSE(pages->isTabVisible(3));
  auto* grid = Find<QTableView>(*window, "gridDebts");
  EXPECT_EQ(grid->model()->columnCount(), 8);
  EXPECT_EQ(grid->model()->rowCount(), 0);
  EXPECT_FALSE(Find<QPushButton>(*window, "bitbtnEdit")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(*window, "bitbtnDelete")->isEnabled());
  // No debts: nothing to pay off, and no date.
  EXPECT_EQ(Text(*window, "lblPayoffMonthsCurrent"), "0");
  EXPECT_EQ(Text(*window, "lblPayoffYearsProposed"), "0.0");
  EXPECT_EQ(Text(*window, "lblPayoffDateCurrent"), "NA");
  EXPECT_EQ(Text(*window, "lblInterestCurrent"), "$0.00");
  EXPECT_TRUE(Find<QLabel>(*window, "lblNeverPaidOffNote")->isHidden());
  EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(MainWindowTest, APlanArgumentBeatsTheLastFileAndMayComeInTwoWords) {
  PlanDocument last = TwoDebtPlan();
  last.FirstName = "Last";
  const auto lastPath = SavePlan("last.bvx", last);
  WriteFile(folder / "Settings.ini", "[Settings]\nLast File=" + lastPath.string() + "\n");
  std::filesystem::create_directories(folder / "My Plans");
  const auto wanted = SavePlan("My Plans/wanted.bvx", TwoDebtPlan());

  auto byArgument = Open({(folder / "My").string(), "Plans/wanted.bvx"});
  EXPECT_EQ(byArgument->Session().Plan().FirstName, "Zuzu");
  EXPECT_EQ(byArgument->windowTitle(), "Ardvane - wanted.bvx");
  EXPECT_EQ(byArgument->Session().PlanDirectory(), (folder / "My Plans").string() + "/");
  byArgument.reset();

  auto byLastFile = Open();
  EXPECT_EQ(byLastFile->Session().Plan().FirstName, "Last");
}

TEST_F(MainWindowTest, AnUnreadablePlanAtStartIsReportedAndNeverShownUnderItsName) {
  WriteFile(folder / "Params.ini", Params(true));
  WriteFile(folder / "broken.bvx", "1\r\nA\r\nB\r\nnot a date\r\n");
  auto window = Open({(folder / "broken.bvx").string()});
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "Could not open file " + (folder / "broken.bvx").string());
  EXPECT_EQ(window->windowTitle(), "Ardvane - Untitled.bvx");
  EXPECT_EQ(window->Session().Plan().SetupFee, Money::FromUnits(995));  // the defaults
}

// A plan of more debts than the window can calculate at every edit is not opened, at start
// or by Open: the window says why, keeps the plan it shows under its own name, and nothing is
// ever written over the large plan's file.
TEST_F(MainWindowTest, APlanTooLargeForTheWindowIsNotOpenedAndItsFileIsKept) {
  PlanDocument large = TwoDebtPlan();
  large.FirstName = "Large";
  while (large.Debts.GetDebtCount() <= kWindowLimit.mostDebts) {
    large.Debts.AddDebt(large.Debts.At(0));
  }
  const auto largePath = SavePlan("large.bvx", large);
  const std::string largeFile = ReadFile(largePath);
  const std::string refusal = DebtsRefusal(kWindowLimit.mostDebts + 1, kWindowLimit);
  ASSERT_NE(refusal, "");

  auto atStart = Open({largePath.string()});
  EXPECT_EQ(prompts.errors, (std::vector<std::string>{"Could not open file " + largePath.string() +
                                                      "\n\n" + refusal}));
  EXPECT_EQ(atStart->windowTitle(), "Ardvane - Untitled.bvx");
  EXPECT_EQ(Find<QTableView>(*atStart, "gridDebts")->model()->rowCount(), 0);
  atStart.reset();

  const auto smallPath = SavePlan("small.bvx", TwoDebtPlan());
  prompts.errors.clear();
  auto window = Open({smallPath.string()});
  prompts.openFile = largePath;
  Find<QToolButton>(*window, "spdbtnOpen")->click();
  EXPECT_EQ(prompts.errors, (std::vector<std::string>{refusal}));
  EXPECT_EQ(window->windowTitle(), "Ardvane - small.bvx");
  EXPECT_EQ(window->Session().Plan().FirstName, "Zuzu");
  EXPECT_EQ(Find<QTableView>(*window, "gridDebts")->model()->rowCount(), 3);
  window->SavePlan(false);
  window.reset();
  EXPECT_EQ(ReadFile(largePath), largeFile);
  EXPECT_NE(ReadFile(smallPath).find("FirstName=\"Zuzu\""), std::string::npos);
}

TEST_F(MainWindowTest, PermissionsShowTheNewLoanGroupAndItsCashOutRow) {
  WriteFile(folder / "Params.ini", Params(false));
  auto without = Open();
  auto* group = Find<QGroupBox>(*without, "grpConsolidation");
  EXPECT_TRUE(group->isVisible());
  EXPECT_FALSE(Find<AmountField>(*without, "ntmskCashOut")->isVisible());
  EXPECT_EQ(Find<QTableView>(*without, "gridDebts")->model()->columnCount(), 10);
  EXPECT_TRUE(Find<QTabWidget>(*without, "PageControl1")->isTabVisible(3));
  const int shortHeight = group->height();
  without.reset();

  WriteFile(folder / "Params.ini", Params(true));
  auto with = Open();
  EXPECT_TRUE(Find<AmountField>(*with, "ntmskCashOut")->isVisible());
  // 135 against 114 design pixels: the cash-out row adds about a sixth.
  EXPECT_GT(Find<QGroupBox>(*with, "grpConsolidation")->height(), shortHeight);
}

// The sample's new-loan page and return, worked by hand in the figures' tests: debts paid
// off 10,730.95 at 23.0665 % against 7.5 %; points and fixed fees 234.519 + 150; 295 paid
// down; the loan 11,815.469 at 236.7578 a month against today's 310.
TEST_F(MainWindowTest, TheSamplesNewLoanPageAndReturn) {
  WriteFile(folder / "Params.ini", Params(false));
  auto window = Open({(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx").string()});
  const std::pair<const char*, const char*> shown[] = {
      {"lblPayoffBalance", "$10,730.95"},          {"lblOtherFees", "$995.00"},
      {"lblFees", "$384.52"},                      {"lblCashPayment", "($295.00)"},
      {"lblConsolidationLoanAmount", "$11,815.47"}, {"lblPayoffPayment", "$310.00"},
      {"lblConsolidationLoanPayment", "$236.76"},  {"lblDifferencePayment", "$73.24"},
      {"lblCurrentInterestRate", "23.067%"},       {"lblConsolidationInterestRate", "7.500%"},
      {"lblDifferenceInterestRate", "15.567%"},    {"lblReturnOnInvestment", "43.06%"},
      {"lblInterestDifference", "$66,293.76"},     {"lblPayoffDateProposed", "Dec 2036"}};
  for (const auto& [label, text] : shown) EXPECT_EQ(Text(*window, label), text) << label;
  EXPECT_TRUE(Find<QLabel>(*window, "lblPayoffNote")->isHidden());
  EXPECT_TRUE(Find<QLabel>(*window, "lblNeverPaidOffNote")->isHidden());
}

// TwoDebtPlan with a store card of `balance` whose $15 a month never pays off its 24 %.
PlanDocument WithStoreCardNeverPaidOff(double balance) {
  PlanDocument plan = TwoDebtPlan();
  Debt never;
  never.Name = "Store card";
  never.Balance = balance;
  never.InterestRate = Percent(24);
  never.CurrentPayment = 15;
  never.MinimumPaymentAmount = 15;
  plan.Debts.AddDebt(never);
  return plan;
}

// The debt never paid off is marked beside its name, which stays whole.
TEST_F(MainWindowTest, TheGridMarksADebtNeverPaidOffInAColumnOfItsOwnAndShowsMoneyWhole) {
  const PlanDocument plan = WithStoreCardNeverPaidOff(185000);
  auto window = Open({SavePlan("never.bvx", plan).string()});
  auto* grid = Find<QTableView>(*window, "gridDebts");
  const QAbstractItemModel& model = *grid->model();
  ASSERT_EQ(model.rowCount(), 4);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Payoff");
  EXPECT_EQ(model.index(3, 0).data().toString(), "Store card");
  EXPECT_EQ(model.index(3, 1).data().toString(), "Never");
  EXPECT_FALSE(model.index(3, 1).data(Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(model.index(0, 0).data().toString(), "A");
  EXPECT_EQ(model.index(0, 1).data().toString(), "");
  EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());
  EXPECT_EQ(model.index(3, 2).data().toString(), "$185,000.00");
  EXPECT_EQ(model.index(0, 3).data().toString(), "12.000%");
  EXPECT_EQ(model.index(0, 7).data().toString(), "Monthly");
  const QFontMetrics metrics(grid->font());
  EXPECT_GT(grid->columnWidth(2), metrics.horizontalAdvance("$185,000.00"));
  EXPECT_GE(grid->columnWidth(0), metrics.horizontalAdvance("Store card"));
  const int icon = grid->style()->pixelMetric(QStyle::PM_SmallIconSize);
  EXPECT_GT(grid->columnWidth(1), icon + metrics.horizontalAdvance("Never"));
  // Neither plan makes the client debt free: no months, years or date, and the debt named.
  for (const char* label : {"lblPayoffMonthsCurrent", "lblPayoffYearsCurrent",
                            "lblPayoffDateCurrent", "lblPayoffMonthsProposed",
                            "lblPayoffYearsProposed", "lblPayoffDateProposed"}) {
    EXPECT_EQ(Text(*window, label), "Never") << label;
    EXPECT_EQ(Find<QLabel>(*window, label)->toolTip(), "Never paid off: Store card") << label;
  }
  EXPECT_FALSE(Find<QLabel>(*window, "lblNeverPaidOffNote")->isHidden());
  // The note leads with the debt the plan never pays off and what would pay it off, and no
  // figure of the plan is called a saving.
  const std::string note = Text(*window, "lblNeverPaidOffNote").toStdString();
  EXPECT_EQ(note.rfind("As it stands, under the plan this debt is never paid off: Store card.\n"
                       "Store card: $",
                       0),
            0u)
      << note;
  EXPECT_NE(note.find(" a month pays it off in "), std::string::npos) << note;
  EXPECT_NE(note.find("so it shows no saving."), std::string::npos) << note;
  EXPECT_EQ(Text(*window, "lblPayoffNote").toStdString(), note);
  EXPECT_EQ(Text(*window, "lblInterestDifference"), "\u2014");
  EXPECT_EQ(Text(*window, "lblReturnOnInvestment"), "\u2014");
}

// The payments that would pay the store card off, each with its months: in the row's tooltip,
// in the status bar whenever the row is selected (by keys as well), after the warning shown
// when the debt is opened; the row copied by Ctrl+C carries the mark, not a changed name.
TEST_F(MainWindowTest, ADebtNeverPaidOffSaysWhatPaymentWouldPayItOffAndInHowLong) {
  const PlanDocument plan = WithStoreCardNeverPaidOff(1850);
  auto window = Open({SavePlan("never.bvx", plan).string()});
  // 1,850 at 2 % a month owes 37.00 of interest a month. 37.01 pays it off: the balance after
  // n months is 1,850 x 1.02^n - 37.01 x (1.02^n - 1) / 0.02 = 1,850.5 - 0.5 x 1.02^n, which
  // reaches 0 once 1.02^n >= 3,701, at n = ln 3701 / ln 1.02 = 414.9, so in 415 months.
  // Within 60 months: 37 / (1 - 1.02^-60) = 53.2207, so 53.23 in whole cents.
  const std::string hint =
      "A payment of $37.01 a month pays this debt off in 415 months; $53.23 a month pays it off "
      "in 60 months.";
  auto* grid = Find<QTableView>(*window, "gridDebts");
  for (int col = 0; col < grid->model()->columnCount(); ++col) {
    EXPECT_EQ(grid->model()->index(3, col).data(Qt::ToolTipRole).toString().toStdString(), hint)
        << col;
    EXPECT_EQ(grid->model()->index(0, col).data(Qt::ToolTipRole).toString(), col == 0 ? "A" : "")
        << col;
  }

  auto* status = window->findChild<QStatusBar*>("StatusBar1");
  ASSERT_NE(status, nullptr);
  grid->setFocus();
  window->SelectGridRow(3);
  EXPECT_EQ(status->currentMessage(), "");
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(status->currentMessage().toStdString(), "Store card: " + hint);
  QTest::keyClick(grid, Qt::Key_Up);
  EXPECT_EQ(status->currentMessage(), "");

  window->SelectGridRow(4);
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  window->EnterDebt(false);
  ASSERT_FALSE(prompts.warnings.empty());
  EXPECT_EQ(prompts.warnings.front(),
            "Using the entered payment amount, the Store card debt never gets paid off in this "
            "analysis.\n\nYou should adjust the payment amount on this debt.\n\n" + hint);

  window->SelectGridRow(4);
  QApplication::clipboard()->clear();
  QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            "Store card\tNever\t$1,850.00\t24.000%\t$15.00\t$15.00\t0.0%\tMonthly\n");
}

// Set Payment, from the debt's menu opened by keys: the payment that pays the store card off in
// 60 months, Use Minimum cleared, one step that Undo takes back whole. Offered for no other debt.
TEST_F(MainWindowTest, SetPaymentPaysTheDebtOffAsOneUndoableStep) {
  PlanDocument plan = WithStoreCardNeverPaidOff(1850);
  testing::ChangeDebt(plan.Debts, 3, [](Debt& d) { d.UseMinimum = true; });
  auto window = Open({SavePlan("never.bvx", plan).string()});
  auto* grid = Find<QTableView>(*window, "gridDebts");
  auto* menu = window->findChild<QMenu*>("popDebt");
  ASSERT_NE(menu, nullptr);
  QAction* setPayment = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->objectName() == "SetPayment1") setPayment = action;
  }
  ASSERT_NE(setPayment, nullptr);

  grid->setFocus();
  window->SelectGridRow(1);
  EXPECT_FALSE(setPayment->isEnabled());
  EXPECT_EQ(setPayment->text(), "Set Pa&yment");

  // Shift+F10 opens the menu, also while the window is active and F10 alone shows the
  // information box.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->SelectGridRow(4);
  QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(prompts.information.empty());
  EXPECT_TRUE(menu->isVisible());
  EXPECT_TRUE(setPayment->isEnabled());
  EXPECT_EQ(setPayment->text(), "Set Pa&yment: $53.23 a month, paid off in 60 months");
  menu->hide();
  QTest::keyClick(grid, Qt::Key_Menu);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();

  const double before = window->Session().Plan().Debts.At(3).CurrentPayment;
  setPayment->trigger();
  const DebtList& rows = window->Session().Plan().Debts;
  EXPECT_EQ(rows.At(3).CurrentPayment, 53.23);
  EXPECT_FALSE(rows.At(3).UseMinimum);
  EXPECT_EQ(rows.At(3).MinimumPaymentAmount, 15);
  EXPECT_EQ(window->Results().CurrentPlan.GetLoan(3)->PayoffMonths(), 60);
  EXPECT_EQ(grid->model()->index(3, 1).data().toString(), "");
  EXPECT_EQ(grid->model()->index(3, 4).data().toString(), "$53.23");
  EXPECT_EQ(window->SelectedGridRow(), 4);
  EXPECT_FALSE(setPayment->isEnabled());
  EXPECT_TRUE(window->Session().Changed());

  QAction* undo = nullptr;
  for (const QMenu* edit : window->findChildren<QMenu*>()) {
    for (QAction* action : edit->actions()) {
      if (action->objectName() == "Undo1") undo = action;
    }
  }
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->text(), "&Undo Set Payment");
  undo->trigger();
  EXPECT_EQ(window->Session().Plan().Debts.At(3).CurrentPayment, before);
  EXPECT_TRUE(window->Session().Plan().Debts.At(3).UseMinimum);
  EXPECT_EQ(grid->model()->index(3, 1).data().toString(), "Never");
  EXPECT_FALSE(window->Session().Changed());
  EXPECT_TRUE(setPayment->isEnabled());
}

TEST_F(MainWindowTest, TheFeeFieldHidesWhenTheFeeChargedDiffersAndTheFeeLooksLikeALink) {
  WriteFile(folder / "Params.ini", Params(true));
  PlanDocument plan = TwoDebtPlan();
  plan.SetupFee = Money::FromUnits(995);
  // A saving below the minimum charges the minimum fee instead of the fee entered.
  plan.MinSavings = Money::FromUnits(1000000);
  plan.MinSetupFee = Money::FromUnits(2500);
  auto window = Open({SavePlan("fee.bvx", plan).string()});
  EXPECT_FALSE(Find<AmountField>(*window, "ntmskFeesAmount")->isVisible());
  EXPECT_EQ(Text(*window, "lblPercentSetupFee"), "$2,500");

  // The fee charged looks like a link under the pointer, and the hand shows whenever it does.
  auto* fee = Find<QLabel>(*window, "lblPercentSetupFee");
  ASSERT_TRUE(fee->isVisible());
  EXPECT_EQ(fee->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(fee->font().underline());
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(fee, &enter);
  // The pointer moving over the figure (the move goes on to its group) keeps the look.
  for (QWidget* under : {static_cast<QWidget*>(fee),
                         static_cast<QWidget*>(Find<QGroupBox>(*window, "grpAssumptions"))}) {
    const QPointF at = fee->mapTo(under, fee->rect().center());
    QMouseEvent move(QEvent::MouseMove, at, under->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(under, &move);
  }
  EXPECT_TRUE(fee->font().underline());
  EXPECT_EQ(fee->palette().color(QPalette::WindowText), QColor(Qt::blue));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(fee, &leave);
  EXPECT_FALSE(fee->font().underline());

  plan.MinSavings = Money();
  auto same = Open({SavePlan("same.bvx", plan).string()});
  EXPECT_TRUE(Find<AmountField>(*same, "ntmskFeesAmount")->isVisible());
}

TEST_F(MainWindowTest, MovingAndDeletingDebtsSelectTheRowsTheyShould) {
  auto window = Open({SavePlan("abc.bvx", TwoDebtPlan()).string()});
  const auto names = [&window] { return testing::DebtNames(*window); };
  window->SelectGridRow(1);
  window->MoveDebt(true);  // the first moves up: it wraps to the end
  EXPECT_EQ(names(), "BCA");
  EXPECT_EQ(window->SelectedGridRow(), 3);
  window->MoveDebt(false);  // the last moves down: it wraps to the top
  EXPECT_EQ(names(), "ABC");
  EXPECT_EQ(window->SelectedGridRow(), 1);
  EXPECT_TRUE(window->Session().Changed());

  window->SelectGridRow(3);
  window->DeleteDebt();
  EXPECT_EQ(names(), "AB");
  EXPECT_EQ(window->SelectedGridRow(), 2);
  EXPECT_EQ(prompts.questions.back(), "The following debt will be deleted:\n\nC\n\nAre you sure?");
  EXPECT_EQ(Find<QTableView>(*window, "gridDebts")->model()->rowCount(), 2);
}

TEST_F(MainWindowTest, TypingIntoAFieldAndLeavingItRecalculates) {
  auto window = Open({SavePlan("typed.bvx", TwoDebtPlan()).string()});
  const QString before = Text(*window, "lblPayoffMonthsProposed");
  auto* power = Find<AmountField>(*window, "ntmskAccelerator");
  power->setFocus();
  QApplication::processEvents();
  QTest::keyClicks(power, "500");
  EXPECT_TRUE(window->Session().Changed());
  Find<QLineEdit>(*window, "txtFirstName")->setFocus();  // leave the field
  QApplication::processEvents();
  EXPECT_EQ(window->Session().Plan().Accelerators[0].Monthly, Money::FromUnits(500));
  EXPECT_EQ(power->text(), "$500.00");
  EXPECT_LT(Text(*window, "lblPayoffMonthsProposed").toInt(), before.toInt());
}

TEST_F(MainWindowTest, ClosingAsksAboutChangesAndCancelKeepsTheWindow) {
  auto window = Open({SavePlan("close.bvx", TwoDebtPlan()).string()});
  Find<QLineEdit>(*window, "txtFirstName")->setText("Edited");
  prompts.saveAnswers = {SaveAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_FALSE(std::filesystem::exists(folder / "Settings.ini"));
  prompts.saveAnswers = {SaveAnswer::No};
  EXPECT_TRUE(window->close());
  EXPECT_NE(testing::ReadFile(folder / "Settings.ini").find("close.bvx"), std::string::npos);
}

TEST_F(MainWindowTest, TheInformationBoxShowsTheFiveFigures) {
  auto window = Open({SavePlan("f10.bvx", TwoDebtPlan()).string()});
  window->SelectGridRow(1);
  const std::string text = window->InformationText();
  EXPECT_EQ(text.rfind("Current Total Payment:    $300.00\n\nProposed Total Payment:  $300.00", 0),
            0u)
      << text;
  EXPECT_NE(text.find("\n\nTotal Escrow:  $0.00\n\nSelected Debt Priority:  "), std::string::npos);
}

// A program folder with the shipped templates and phrases, Spanish and the print log
// permitted, and the print language setting `language`.
void ReportFolder(const TempFolder& folder, int language) {
  std::filesystem::copy(std::filesystem::path(ARDVANE_DIST_DIR) / "Templates", folder / "Templates",
                        std::filesystem::copy_options::recursive);
  std::filesystem::copy_file(std::filesystem::path(ARDVANE_DIST_DIR) / "Language.kdf",
                             folder / "Language.kdf");
  WriteFile(folder / "Params.ini", "[Permissions]\nLanguage=1\nPrint Log=1\n");
  WriteFile(folder / "Settings.ini", "[Print]\nLanguage=" + std::to_string(language) + "\n");
}

TEST_F(MainWindowTest, PrintAsksForTheLanguageAndMakesOpensAndLogsTheReport) {
  ReportFolder(folder, 99);
  auto window = Open({SavePlan("print.bvx", TwoDebtPlan()).string()});
  auto* print = Find<QToolButton>(*window, "spdbtnPrint");
  ASSERT_TRUE(print->isEnabled());
  print->click();
  // Nothing is made until a language is chosen from the menu below the button.
  auto* menu = Find<QMenu>(*window, "popLanguage");
  EXPECT_TRUE(menu->isVisible());
  EXPECT_GE(menu->pos().y(), print->mapToGlobal(QPoint(0, print->height())).y());
  EXPECT_FALSE(std::filesystem::exists(folder / "Reports"));
  // A batch report writing the office's copy of its chart meanwhile does not reach this report.
  WriteFile(folder / "Paydown.bmp", "another client's chart, half written");
  menu->findChild<QAction*>("Spanish1")->trigger();

  const std::filesystem::path report = folder / "Reports" / "Zeved, Zuzu 1.15.2008 Spanish.doc";
  ASSERT_TRUE(std::filesystem::exists(report));
  const std::string html = testing::ReadFile(report);
  int pictures = 0;
  for (std::size_t at = 0; (at = html.find("data:image/png;base64,", at)) != std::string::npos;
       ++at) {
    ++pictures;
  }
  EXPECT_EQ(pictures, 2);
  EXPECT_EQ(prompts.opened, std::vector<std::string>{report.string()});
  EXPECT_EQ(prompts.errors, std::vector<std::string>{});
  const std::string log = testing::ReadFile(folder / "PrintLog.kdf");
  EXPECT_NE(log.find("\tZeved, Zuzu 1.15.2008 Spanish.doc\t42\r\n"), std::string::npos) << log;

  // Printed again: the existing file is asked about; Cancel leaves it and logs nothing.
  prompts.fileExists = FileExistsAnswer::Cancel;
  print->click();
  menu->findChild<QAction*>("Spanish1")->trigger();
  EXPECT_EQ(prompts.asked, std::vector<std::string>{report.string()});
  EXPECT_EQ(prompts.opened.size(), 1u);
  EXPECT_EQ(testing::ReadFile(folder / "PrintLog.kdf"), log);
}

TEST_F(MainWindowTest, MissingParagraphsAreNamedInOneBoxAtTheEndOfTheReport) {
  ReportFolder(folder, 0);
  const std::filesystem::path english = folder / "Templates" / "English";
  std::filesystem::remove(english / "DebtTable.ktf");    // a row per debt
  std::filesystem::remove(english / "PayoffTable.ktf");  // a row per debt
  auto window = Open({SavePlan("missing.bvx", TwoDebtPlan()).string()});
  Find<QToolButton>(*window, "spdbtnPrint")->click();
  const auto report = folder / "Reports" / "Zeved, Zuzu 1.15.2008 English.doc";
  EXPECT_TRUE(std::filesystem::exists(report));
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"Could not find paragraph " +
                                                     (english / "DebtTable.ktf").string() +
                                                     ".\nCould not find paragraph " +
                                                     (english / "PayoffTable.ktf").string() + "."});
  EXPECT_EQ(prompts.opened, std::vector<std::string>{report.string()});
}

TEST_F(MainWindowTest, PrintFollowsTheLanguageSettingAndNeedsDebts) {
  ReportFolder(folder, 0);
  auto empty = Open();
  EXPECT_FALSE(Find<QToolButton>(*empty, "spdbtnPrint")->isEnabled());
  empty.reset();

  // An older PDF of this program under the report's name, from another client's report.
  const std::filesystem::path report = folder / "Reports" / "Zeved, Zuzu 1.15.2008 English.doc";
  std::filesystem::create_directory(folder / "Reports");
  constexpr char kOurPdf[] = "%PDF-1.4\n1 0 obj\n<<\n/Creator (\xfe\xff\0A\0r\0d\0v\0a\0n\0e)\n>>\n";
  WriteFile(PdfPathFor(report), std::string(kOurPdf, sizeof kOurPdf - 1));
  auto window = Open({SavePlan("english.bvx", TwoDebtPlan()).string()});
  Find<QToolButton>(*window, "spdbtnPrint")->click();
  EXPECT_FALSE(Find<QMenu>(*window, "popLanguage")->isVisible());
  EXPECT_TRUE(std::filesystem::exists(report));
  // Asked about before the report was written, and taken away with the report written.
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], StalePdfQuestion(PdfPathFor(report)));
  EXPECT_FALSE(std::filesystem::exists(PdfPathFor(report)));
  EXPECT_FALSE(std::filesystem::exists(SetAsidePathFor(PdfPathFor(report))));
}

TEST_F(MainWindowTest, ExportPdfWritesTheReportAndItsPdfWhereChosenWhenPrintIsEnabled) {
  ReportFolder(folder, 0);
  auto empty = Open();
  EXPECT_FALSE(Find<QAction>(*empty, "ExportPdf1")->isEnabled());
  empty.reset();

  auto window = Open({SavePlan("english.bvx", TwoDebtPlan()).string()});
  auto* exportPdf = Find<QAction>(*window, "ExportPdf1");
  ASSERT_TRUE(exportPdf->isEnabled());
  EXPECT_EQ(exportPdf->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  prompts.pdfFile = folder / "Zuzu.pdf";
  exportPdf->trigger();
  const auto report = folder / "Reports" / "Zeved, Zuzu 1.15.2008 English.doc";
  EXPECT_TRUE(std::filesystem::exists(report));
  EXPECT_EQ(prompts.pdfProposed, folder / "Reports" / "Zeved, Zuzu 1.15.2008 English.pdf");
  EXPECT_EQ(testing::ReadFile(folder / "Zuzu.pdf").rfind("%PDF", 0), 0u);
  EXPECT_EQ(prompts.errors, std::vector<std::string>{});
  ASSERT_EQ(prompts.information.size(), 1u);
  EXPECT_NE(prompts.information[0].find((folder / "Zuzu.pdf").string()), std::string::npos);
  // Not printed: neither opened nor logged.
  EXPECT_TRUE(prompts.opened.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "PrintLog.kdf"));
}

TEST_F(MainWindowTest, FormOpensTheDataCollectionFormOrSaysItIsMissing) {
  auto window = Open();
  auto* form = Find<QToolButton>(*window, "spdbtnForm");
  form->click();
  const std::filesystem::path sheet = folder / "Templates" / "DataSheet.doc";
  EXPECT_EQ(prompts.information, std::vector<std::string>{"Data Form not found:\n\n" + sheet.string()});
  EXPECT_TRUE(prompts.opened.empty());

  std::filesystem::create_directory(folder / "Templates");
  WriteFile(sheet, "<html></html>");
  form->click();
  EXPECT_EQ(prompts.opened, std::vector<std::string>{sheet.string()});
  EXPECT_EQ(prompts.information.size(), 1u);

  // No word processor for it: said, not passed over.
  prompts.openResult = DesktopOpenResult::kFailed;
  form->click();
  EXPECT_EQ(prompts.information.back(), kDataFormNeedsWordProcessor);
}


// The object names of the widgets Tab visits from `start`, each once, until it comes back.
std::vector<std::string> TabChain(QWidget* start, Qt::KeyboardModifiers modifiers, int presses) {
  std::vector<std::string> names;
  start->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < presses; ++i) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) break;
    const std::string name = focus->objectName().toStdString();
    if (i > 0 && focus == start) break;  // round once
    if (names.empty() || names.back() != name) names.push_back(name);
    QTest::keyClick(focus, Qt::Key_Tab, modifiers);
  }
  return names;
}

bool Contains(const std::vector<std::string>& names, const std::vector<std::string>& inOrder) {
  auto at = names.begin();
  for (const std::string& name : inOrder) {
    at = std::find(at, names.end(), name);
    if (at == names.end()) return false;
  }
  return true;
}

TEST_F(MainWindowTest, TabMovesThroughTheWindowInReadingOrderAndLeavesTheGrid) {
  WriteFile(folder / "Params.ini", Params(true));
  auto window = Open({SavePlan("abc.bvx", TwoDebtPlan()).string()});
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto* first = Find<QLineEdit>(*window, "txtFirstName");
  const std::vector<std::string> chain = TabChain(first, Qt::NoModifier, 60);
  // The grid is one stop: the next press leaves it for the debt buttons.
  const std::vector<std::string> left = {
      "txtFirstName", "txtLastName", "gridDebts", "bitbtnNew", "bitbtnEdit", "bitbtnDelete",
      "bitbtnUp", "bitbtnDown", "dtpPlanDate", "cboPriority", "btnAccelerator",
      "ntmskAccelerator", "ntmskAnnualAccelerator", "ntmskReturnRate", "btnSetupFee",
      "ntmskFeesAmount", "ntmskMonthlyFee", "chkConsolidate", "btnRecommendations",
      "ntmskInterestRate", "chkInterestOnly", "ntmskFeesRate", "ntmskConsolidationFees",
      "ntmskTerm", "ntmskCashOut", "bitbtnDetails"};
  ASSERT_GE(chain.size(), left.size());
  EXPECT_TRUE(std::equal(left.begin(), left.begin() + 8, chain.begin()))
      << ::testing::PrintToString(chain);
  EXPECT_TRUE(Contains(chain, left)) << ::testing::PrintToString(chain);
  EXPECT_EQ(std::count(chain.begin(), chain.end(), "gridDebts"), 1)
      << ::testing::PrintToString(chain);

  // Shift+Tab from the New button goes back into the grid and then out of it.
  const std::vector<std::string> back =
      TabChain(Find<QPushButton>(*window, "bitbtnNew"), Qt::ShiftModifier, 4);
  ASSERT_GE(back.size(), 3u);
  EXPECT_EQ(back[1], "gridDebts");
  EXPECT_EQ(back[2], "txtLastName");
}

TEST_F(MainWindowTest, TheGridsKeysAddEditDeleteAndMoveDebts) {
  auto window = Open({SavePlan("abc.bvx", TwoDebtPlan()).string()});
  auto* grid = Find<QTableView>(*window, "gridDebts");
  const auto names = [&window] { return testing::DebtNames(*window); };
  window->SelectGridRow(1);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(window->SelectedGridRow(), 2);
  // Whatever key moves to a debt, it is the one selected row.
  QTest::keyClick(grid, Qt::Key_Right, Qt::ControlModifier);
  ASSERT_EQ(grid->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(grid->selectionModel()->selectedRows()[0].row(), 1);
  QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(names(), "ACB");
  EXPECT_EQ(window->SelectedGridRow(), 3);
  QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(names(), "ABC");
  EXPECT_EQ(window->SelectedGridRow(), 2);

  // Enter edits the selected debt and Insert adds one, each in the debt dialog.
  std::vector<std::string> dialogs;
  const auto closeDialog = [&dialogs] {
    QTimer::singleShot(0, [&dialogs] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialogs.push_back(dialog->windowTitle().toStdString());
        dialog->reject();
      }
    });
  };
  closeDialog();
  QTest::keyClick(grid, Qt::Key_Return);
  closeDialog();
  QTest::keyClick(grid, Qt::Key_Insert);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(names(), "ABC");

  prompts.confirm = false;
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(prompts.questions.back(), "The following debt will be deleted:\n\nB\n\nAre you sure?");
  EXPECT_EQ(names(), "ABC");
  prompts.confirm = true;
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(names(), "AC");
}

TEST_F(MainWindowTest, OnASmallScreenTheHalvesScrollRatherThanOverlap) {
  WriteFile(folder / "Params.ini", Params(true));
  auto window = Open({SavePlan("abc.bvx", TwoDebtPlan()).string()});
  for (const QSize size : {QSize(800, 600), QSize(600, 450)}) {
    window->resize(size);
    QApplication::processEvents();
    EXPECT_LE(window->width(), std::max(size.width(), window->minimumWidth()));
    for (const char* name : {"pnlLeft", "pnlRight"}) {
      auto* panel = Find<QWidget>(*window, name);
      // Laid out at least at its minimum: no control is squeezed onto another.
      EXPECT_GE(panel->height(), panel->minimumSizeHint().height()) << name << size.width();
      EXPECT_GE(panel->width(), panel->minimumSizeHint().width()) << name << size.width();
    }
    auto* grid = Find<QTableView>(*window, "gridDebts");
    EXPECT_GE(grid->height(), 5 * grid->verticalHeader()->defaultSectionSize()) << size.width();
  }
}

}  // namespace
}  // namespace ardvane
