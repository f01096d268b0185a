// The plan fee, power payment, preferences and client notes windows on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "engine/calendar.h"
#include "figures/display_formats.h"
#include "figures/power_payment_goal.h"
#include "planfiles/plan_file.h"
#include "planfiles/plan_session.h"
#include "platform/desktop_open.h"
#include "settings/settings_files.h"
#include "tests/fake_opener.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"
#include "tests/test_support.h"
#include "tests/ui/fake_prompts.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/accelerator_dialog.h"
#include "ui/dialogs/notes_window.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/setup_fee_dialog.h"
#include "ui/main/main_window.h"
#include "ui/widgets/amount_field.h"

namespace ardvane {
namespace {

using testing::M;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

using Prompts = testing::FakePrompts;

PlanDocument FeePlan() {
  PlanDocument plan;
  plan.FirstName = "Zuzu";
  plan.LastName = "Zeved";
  plan.Date = EncodeDate(2008, 1, 15);
  plan.ReturnRate = Percent(6);
  plan.SetupFee = M(995);
  plan.SetupFeeRate = Ratio(0.123456);  // more digits than the dialog's field shows
  plan.DownPayment = M(100);
  plan.MinSavings = M(2000);
  plan.MinSetupFee = M(500);
  plan.MinDownPayment = M(50);
  plan.Accelerators[2].Month = 13;  // no month of the list
  for (const auto& [name, balance, rate] :
       {std::tuple{"Card", "8000", "21"}, std::tuple{"Car", "12000", "7.5"},
        std::tuple{"Store", "1500", "24"}}) {
    Debt debt = testing::MakeDebt(name, std::stod(balance), std::stod(rate));
    debt.CurrentPayment = 300;
    debt.MinimumPaymentAmount = 60;
    plan.Debts.AddDebt(debt);
  }
  return plan;
}

class PlanWindowsTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Open(const PlanDocument& plan) {
    const auto path = folder / "plan.bvx";
    EXPECT_TRUE(SaveData(plan, path).ok());
    MainWindowOptions options;
    options.programFolder = folder.path();
    options.regional = testing::kPointRegional;
    options.today = EncodeDate(2024, 6, 15);
    options.arguments = {path.string()};
    auto window = std::make_unique<MainWindow>(options, prompts);
    window->show();
    return window;
  }
  template <typename T>
  static T* Find(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static QString Text(const QObject& parent, const char* label) {
    return Find<QLabel>(parent, label)->text();
  }
  // Types into a field as the adviser does: enter it, type (replacing what is selected).
  static void TypeInto(AmountField* field, const char* text) {
    field->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(field, text);
  }

  TempFolder folder;
  Prompts prompts;
};

TEST_F(PlanWindowsTest, CancelInTheFeeDialogRestoresEverythingAfterLiveChanges) {
  auto window = Open(FeePlan());
  const PlanDocument before = window->Session().Plan();
  const QString interestBefore = Text(*window, "lblInterestProposed");
  const Money feeBefore = window->Results().ActualSetupFee;
  ASSERT_GT(feeBefore, Money());

  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<SetupFeeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    // Opening shows the plan and the figures of the latest calculation.
    EXPECT_EQ(Find<AmountField>(*dialog, "ntmskSetupFeeRate")->text(), "12.346%");
    EXPECT_EQ(Text(*dialog, "lblSetupFeeRate"), "12.346%");
    EXPECT_EQ(Text(*dialog, "lblActualSetupFee").toStdString(), FormatMoney(feeBefore, 0, {}));

    // Passing through a field without typing changes nothing, not even the rate's digits.
    Find<AmountField>(*dialog, "ntmskSetupFeeRate")->setFocus(Qt::TabFocusReason);
    Find<AmountField>(*dialog, "ntmskDownPayment")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(window->Session().Plan(), before);

    // Every field changed and left: the plan and both windows follow at once.
    for (const char* name : {"ntmskFeesAmount", "ntmskSetupFeeRate", "ntmskDownPayment",
                             "ntmskMinSavings", "ntmskMinSetupFee", "ntmskMinDownPayment"}) {
      TypeInto(Find<AmountField>(*dialog, name), "90");
    }
    Find<QPushButton>(*dialog, "btnCancel")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const PlanDocument& live = window->Session().Plan();
    EXPECT_EQ(live.SetupFee, M(90));
    EXPECT_DOUBLE_EQ(live.SetupFeeRate.Value(), 0.9);
    EXPECT_EQ(live.MinDownPayment, M(90));
    EXPECT_EQ(Text(*dialog, "lblSetupFeeRate"), "90.000%");
    EXPECT_NE(window->Results().ActualSetupFee, feeBefore);
    EXPECT_EQ(Text(*dialog, "lblActualSetupFee").toStdString(),
              FormatMoney(window->Results().ActualSetupFee, 0, {}));
    EXPECT_EQ(Find<AmountField>(*window, "ntmskFeesAmount")->NumericValue(), 90);
    checked = true;
    // Escape in a field just typed into: nothing of it stays either.
    TypeInto(Find<AmountField>(*dialog, "ntmskSetupFeeRate"), "55");
    QTest::keyClick(Find<AmountField>(*dialog, "ntmskSetupFeeRate"), Qt::Key_Escape);
  });
  window->EditPlanFee();
  ASSERT_TRUE(checked);

  EXPECT_EQ(window->Session().Plan(), before);
  EXPECT_EQ(window->Results().ActualSetupFee, feeBefore);
  EXPECT_EQ(Text(*window, "lblInterestProposed"), interestBefore);
  EXPECT_EQ(Find<AmountField>(*window, "ntmskFeesAmount")->NumericValue(), 995);
}

TEST_F(PlanWindowsTest, ThePowerPaymentOptionsOfTheReportLeaveTheMainFiguresAlone) {
  auto window = Open(FeePlan());
  const QString months = Text(*window, "lblPayoffMonthsProposed");
  const QString interest = Text(*window, "lblInterestProposed");

  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<AcceleratorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Find<QComboBox>(*dialog, "cboAcceleratorMonth")->currentText(), "January");
    EXPECT_EQ(Find<QComboBox>(*dialog, "cboAcceleratorMonth2")->currentIndex(), -1);
    Find<AmountField>(*dialog, "ntmskAccelerator1")->SetNumericValue(250);
    Find<AmountField>(*dialog, "ntmskAnnualAccelerator1")->SetNumericValue(1000);
    Find<QComboBox>(*dialog, "cboAcceleratorMonth1")->setCurrentIndex(5);
    Find<AmountField>(*dialog, "ntmskAccelerator2")->SetNumericValue(-5000000);  // beyond the limit
    Find<QPushButton>(*dialog, "btnOK")->click();
  });
  window->EditPowerPayment();

  const PlanDocument& plan = window->Session().Plan();
  EXPECT_EQ(plan.Accelerators[1], (Accelerator{M(250), M(1000), 6}));
  EXPECT_EQ(plan.Accelerators[2], (Accelerator{M(-99999), M(0), 0}));
  EXPECT_EQ(plan.Accelerators[0], (Accelerator{M(0), M(0), 1}));
  EXPECT_EQ(Text(*window, "lblPayoffMonthsProposed"), months);
  EXPECT_EQ(Text(*window, "lblInterestProposed"), interest);

  // The plan's own power payment reaches the main window's fields and its figures.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<AcceleratorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    Find<AmountField>(*dialog, "ntmskAccelerator")->SetNumericValue(400);
    Find<QPushButton>(*dialog, "btnOK")->click();
  });
  window->EditPowerPayment();
  EXPECT_EQ(window->Session().Plan().Accelerators[0].Monthly, M(400));
  EXPECT_EQ(Find<AmountField>(*window, "ntmskAccelerator")->NumericValue(), 400);
  EXPECT_LT(Text(*window, "lblPayoffMonthsProposed").toInt(), months.toInt());
}

// "Debt free by": the answer is FindPowerPaymentForGoal's for the month shown, with the yearly
// amount the dialog shows, and Use puts it into the monthly field for OK to store.
TEST_F(PlanWindowsTest, TheDebtFreeByRowFindsThePowerPaymentAndUsesIt) {
  PlanDocument plan = FeePlan();
  plan.Accelerators[0].Annual = M(500);
  plan.Accelerators[0].Month = 3;
  auto window = Open(plan);
  const DayNumber debtFree = window->Results().ProposedPlan.GetDebtFreeDate();
  ASSERT_GT(debtFree, 0);
  const auto expected = [&](YearMonth month, Money annual) {
    PlanDocument trial = window->Session().Plan();
    trial.Accelerators[0].Annual = annual;
    return FindPowerPaymentForGoal(trial, window->Params(), window->Settings(), month);
  };
  const YearMonth before = YearMonthOf(AddMonths(debtFree, -12));  // a year before
  const YearMonth earlier = YearMonthOf(AddMonths(debtFree, -18));
  const PowerPaymentGoal first = expected(before, M(500));
  const PowerPaymentGoal second = expected(earlier, Money());
  ASSERT_TRUE(first.attainable);
  ASSERT_TRUE(second.attainable);
  ASSERT_GT(second.powerPayment, first.powerPayment);

  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<AcceleratorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* goal = Find<QDateEdit>(*dialog, "dtpDebtFreeBy");
    EXPECT_EQ(goal->date(), QDate(before.year, before.month, 1));
    EXPECT_EQ(dialog->GoalMonth(), before);
    EXPECT_EQ(Text(*dialog, "lblNeededPowerPayment").toStdString(),
              FormatMoney(first.powerPayment, 2, testing::kPointRegional) + " a month");

    // Six months earlier takes more; a yearly amount changed in the dialog counts at once.
    goal->setDate(QDate(earlier.year, earlier.month, 1));
    Find<AmountField>(*dialog, "ntmskAnnualAccelerator")->SetNumericValue(0);
    EXPECT_EQ(dialog->Needed().powerPayment, second.powerPayment);
    EXPECT_EQ(Text(*dialog, "lblNeededPowerPayment").toStdString(),
              FormatMoney(second.powerPayment, 2, testing::kPointRegional) + " a month");

    Find<QPushButton>(*dialog, "btnUseNeeded")->click();
    EXPECT_EQ(Money::FromUnits(Find<AmountField>(*dialog, "ntmskAccelerator")->NumericValue()),
              second.powerPayment);
    Find<QPushButton>(*dialog, "btnOK")->click();
  });
  window->EditPowerPayment();
  EXPECT_EQ(window->Session().Plan().Accelerators[0].Monthly, second.powerPayment);
  EXPECT_EQ(window->Session().Plan().Accelerators[0].Annual, Money());
}

TEST_F(PlanWindowsTest, PreferencesHideWhatIsNotPermittedAndKeepItsValues) {
  WriteFile(folder / "Settings.ini",
            "[Settings]\nCompounding Period=12\nReport Directory=\n[Print]\nContract=0\n");
  AppSettings settings = LoadPreferences(folder.path()).value();
  const AppSettings loaded = settings;
  {
    PreferencesDialog dialog(settings, PlanParameters{}, folder.path(), nullptr);
    dialog.show();
    EXPECT_FALSE(Find<QGroupBox>(dialog, "grpGeneral")->isVisible());
    EXPECT_FALSE(Find<QGroupBox>(dialog, "grpLanguage")->isVisible());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "chkPrintContract")->isVisible());
    Find<QLineEdit>(dialog, "txtCompanyName")->setText("Changed");
    Find<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_EQ(settings, loaded);
  }
  {
    PreferencesDialog dialog(settings, PlanParameters{}, folder.path(), nullptr);
    dialog.show();
    Find<QPushButton>(dialog, "btnOK")->click();
    // Hidden controls hand back what they were filled with; the empty folder is the default.
    EXPECT_EQ(settings.DefaultCompoundingPeriod, 12);
    EXPECT_FALSE(settings.PrintContract);
    EXPECT_EQ(settings.ReportDirectory, (folder.path() / "Reports").string() + "/");
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtReportDirectory")->text().toStdString(),
              settings.ReportDirectory);
  }
  std::filesystem::create_directories(folder / "Templates");
  WriteFile(folder / "Templates" / "Contract.ktf", "contract");
  PlanParameters params;
  params.PermitConsolidate = true;
  params.PermitLanguage = true;
  PreferencesDialog dialog(settings, params, folder.path(), nullptr);
  dialog.show();
  EXPECT_TRUE(Find<QGroupBox>(dialog, "grpGeneral")->isVisible());
  EXPECT_TRUE(Find<QGroupBox>(dialog, "grpLanguage")->isVisible());
  EXPECT_TRUE(Find<QCheckBox>(dialog, "chkPrintContract")->isVisible());
  EXPECT_EQ(Find<QComboBox>(dialog, "cboCompounding")->currentText(), "Annually");
  EXPECT_TRUE(Find<QRadioButton>(dialog, "optEnglish")->isChecked());
  Find<QComboBox>(dialog, "cboCompounding")->setCurrentIndex(0);
  Find<QRadioButton>(dialog, "optAsk")->click();
  Find<QCheckBox>(dialog, "chkPrintContract")->click();
  // The strategies compared are off until chosen.
  EXPECT_FALSE(Find<QCheckBox>(dialog, "chkStrategiesCompared")->isChecked());
  Find<QCheckBox>(dialog, "chkStrategiesCompared")->click();
  Find<QLineEdit>(dialog, "txtReportDirectory")->setText("/srv/reports");
  Find<QPushButton>(dialog, "btnOK")->click();
  EXPECT_EQ(settings.DefaultCompoundingPeriod, 0);
  EXPECT_EQ(settings.PrintLanguage, 99);
  EXPECT_TRUE(settings.PrintContract);
  EXPECT_TRUE(settings.PrintStrategiesCompared);
  EXPECT_EQ(settings.ReportDirectory, "/srv/reports/");
}

class NotesWindowTest : public PlanWindowsTest {
 protected:
  NotesWindowTest()
      : session(PlanParameters{}, testing::kPointRegional, EncodeDate(2008, 1, 15), prompts) {
    settings.ReportDirectory = (folder / "Reports").string() + "/";
    PlanDocument plan = FeePlan();
    const auto path = folder / "notes.bvx";
    EXPECT_TRUE(SaveData(plan, path).ok());
    EXPECT_TRUE(session.OpenFile(path));
  }
  std::unique_ptr<NotesWindow> Make() {
    const auto now = [] { return LocalDateTime{EncodeDate(2008, 1, 15), 14, 30, 0}; };
    const auto open = [this](const std::string& path, DesktopOpenDone done) {
      opened.push_back(path);
      if (opener) {
        OpenWithDesktop(path, *opener, nullptr, [this, done](DesktopOpenResult result) {
          done(result);
          ++answers;
        });
      } else {
        done(openResult);
      }
    };
    return std::make_unique<NotesWindow>(session, settings, testing::kPointRegional, folder.path(),
                                         prompts, now, open, nullptr);
  }
  static QPlainTextEdit* Memo(const NotesWindow& notes) {
    return Find<QPlainTextEdit>(notes, "memoNotes");
  }

  PlanSession session;
  AppSettings settings;
  std::vector<std::string> opened;
  DesktopOpenResult openResult = DesktopOpenResult::kOpened;
  std::optional<DesktopOpener> opener;  // a real opener in place of openResult
  int answers = 0;                      // verdicts of the real opener handed on
};

TEST_F(NotesWindowTest, OkWithoutTypingLeavesThePlanAndTypingIsTakenOver) {
  auto notes = Make();
  notes->OpenNotes();
  EXPECT_EQ(Memo(*notes)->toPlainText(), "1/15/2008 2:30:00 PM:\n");
  Find<QPushButton>(*notes, "btnOK")->click();
  EXPECT_FALSE(notes->isVisible());
  EXPECT_TRUE(session.Plan().Notes.empty());
  EXPECT_FALSE(session.Changed());

  // Typed text with quotes, non-Latin letters and a non-breaking space is kept as typed.
  notes->OpenNotes();
  Memo(*notes)->moveCursor(QTextCursor::End);
  Memo(*notes)->insertPlainText(QString::fromUtf8("Peña said \"żółw\"\u00A0ok"));
  // Opening again while on screen only brings the window forward.
  notes->OpenNotes();
  Find<QPushButton>(*notes, "btnOK")->click();
  const std::vector<std::string> expected = {"1/15/2008 2:30:00 PM:",
                                             "Peña said \"żółw\"\xC2\xA0ok"};
  EXPECT_EQ(session.Plan().Notes, expected);
  EXPECT_TRUE(session.Changed());

  // The next opening puts a blank line and a new heading below; Cancel takes nothing.
  notes->OpenNotes();
  EXPECT_EQ(
      Memo(*notes)->document()->toRawText().replace(QChar::ParagraphSeparator, '\n').toStdString(),
      expected[0] + "\n" + expected[1] + "\n\n" + expected[0] + "\n");
  Memo(*notes)->insertPlainText("typed");
  Find<QPushButton>(*notes, "btnCancel")->click();
  EXPECT_EQ(session.Plan().Notes, expected);
}

TEST_F(NotesWindowTest, TypingStartsOnANewLineBelowTheHeading) {
  auto notes = Make();
  session.SetNotes({"Called the bank."});
  notes->OpenNotes();
  // Typed where the window leaves the cursor, as the adviser would.
  QTest::keyClicks(Memo(*notes), "Sent the letter.");
  Find<QPushButton>(*notes, "btnOK")->click();
  EXPECT_EQ(session.Plan().Notes, (std::vector<std::string>{"Called the bank.", "",
                                                             "1/15/2008 2:30:00 PM:",
                                                             "Sent the letter."}));
}

TEST_F(NotesWindowTest, NotesChangedElsewhereShowWhileNothingIsTypedAndNeverReplaceTyping) {
  auto notes = Make();
  notes->OpenNotes();
  session.SetNotes({"Restored by an undo."});
  notes->ShowPlanNotes();
  EXPECT_EQ(Memo(*notes)->toPlainText().toStdString(),
            "Restored by an undo.\n\n1/15/2008 2:30:00 PM:\n");
  QTest::keyClicks(Memo(*notes), "Typed.");
  session.SetNotes({});
  notes->ShowPlanNotes();
  EXPECT_NE(Memo(*notes)->toPlainText().indexOf("Typed."), -1);
}

TEST_F(NotesWindowTest, ATextEditorThatCannotOpenTheNotesIsSaidWhenTheDesktopAnswers) {
  auto notes = Make();
  opener = testing::FakeOpener(folder.path(), "no-editor", "exit 3");
  notes->OpenNotes();
  Find<QPushButton>(*notes, "btnPrint")->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(prompts.information.empty());  // the opener has not answered yet
  ASSERT_TRUE(testing::WaitUntil([&] { return answers == 1; }));
  EXPECT_EQ(prompts.information,
            std::vector<std::string>{
                "A text editor is required to print client notes.  Please make sure you have a "
                "text editor properly installed."});

  // An editor that opens the notes: nothing to say.
  prompts.information.clear();
  prompts.fileExists = FileExistsAnswer::Open;
  opener = testing::FakeOpener(folder.path(), "editor", "exit 0");
  Find<QPushButton>(*notes, "btnPrint")->click();
  ASSERT_TRUE(testing::WaitUntil([&] { return answers == 2; }));
  EXPECT_TRUE(prompts.information.empty());
}

TEST_F(NotesWindowTest, PrintWritesTheTypedTextAndHandlesAnExistingFile) {
  auto notes = Make();
  notes->OpenNotes();
  Memo(*notes)->moveCursor(QTextCursor::End);
  Memo(*notes)->insertPlainText("Called the bank.");
  Find<QPushButton>(*notes, "btnPrint")->click();
  const auto file = folder / "Reports" / "Zeved, Zuzu notes 1.15.2008.rtf";
  EXPECT_EQ(ReadFile(file), NotesRtf({"1/15/2008 2:30:00 PM:", "Called the bank."}));
  EXPECT_EQ(opened, std::vector<std::string>{file.string()});
  EXPECT_TRUE(prompts.asked.empty());
  // Printing takes nothing into the plan.
  Find<QPushButton>(*notes, "btnCancel")->click();
  EXPECT_TRUE(session.Plan().Notes.empty());

  // Closed without typing, a print writes the plan's notes; the existing file is asked about.
  session.SetNotes({"From the plan"});
  notes->OpenNotes();
  prompts.fileExists = FileExistsAnswer::Cancel;
  Find<QPushButton>(*notes, "btnPrint")->click();
  EXPECT_EQ(prompts.asked, std::vector<std::string>{file.string()});
  EXPECT_EQ(opened.size(), 1u);
  prompts.fileExists = FileExistsAnswer::Open;
  Find<QPushButton>(*notes, "btnPrint")->click();
  EXPECT_EQ(ReadFile(file), NotesRtf({"1/15/2008 2:30:00 PM:", "Called the bank."}));
  EXPECT_EQ(opened.size(), 2u);
  prompts.fileExists = FileExistsAnswer::Overwrite;
  openResult = DesktopOpenResult::kFailed;
  Find<QPushButton>(*notes, "btnPrint")->click();
  EXPECT_EQ(ReadFile(file), NotesRtf({"From the plan"}));
  ASSERT_EQ(prompts.information.size(), 1u);
  EXPECT_EQ(prompts.information[0],
            "A text editor is required to print client notes.  Please make sure you have a "
            "text editor properly installed.");
}

TEST_F(NotesWindowTest, AnEmptyReportFolderAndANameLikeAnAddressGiveAPathInTheProgramFolder) {
  settings.ReportDirectory = "";
  session.SetLastName("https:127.0.0.1:8767");
  auto notes = Make();
  notes->OpenNotes();
  Find<QPushButton>(*notes, "btnPrint")->click();
  const auto file = folder / "Reports" / "https_127.0.0.1_8767, Zuzu notes 1.15.2008.rtf";
  EXPECT_EQ(opened, std::vector<std::string>{file.string()});
  EXPECT_TRUE(std::filesystem::path(opened.at(0)).is_absolute());
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(NotesWindowTest, AReportFolderThatCannotBeMadeEndsThePrintWithTheFileError) {
  settings.ReportDirectory = (folder / "missing" / "deeper").string();
  auto notes = Make();
  notes->OpenNotes();
  Find<QPushButton>(*notes, "btnPrint")->click();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_NE(prompts.errors[0].find("Zeved, Zuzu notes 1.15.2008.rtf"), std::string::npos);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST_F(PlanWindowsTest, TheAboutBoxSaysWhenItsReadMeCannotBeShown) {
  AboutBox about(folder.path(), "1.0", "", prompts, nullptr);
  auto* link = Find<QLabel>(about, "lblLink");
  const auto readMe = folder / "README.txt";
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(prompts.information, std::vector<std::string>{"Read me not found:\n\n" +
                                                          readMe.string()});
  EXPECT_TRUE(prompts.opened.empty());

  WriteFile(readMe, "About this program");
  prompts.information.clear();
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(prompts.opened, std::vector<std::string>{readMe.string()});
  EXPECT_TRUE(prompts.information.empty());
  prompts.openResult = DesktopOpenResult::kFailed;
  QTest::mouseClick(link, Qt::LeftButton);
  ASSERT_EQ(prompts.information.size(), 1u);
  const std::string start = std::string("A text editor is required to read ") + readMe.string();
  EXPECT_EQ(prompts.information[0].rfind(start, 0), 0u) << prompts.information[0];
}

}  // namespace
}  // namespace ardvane
