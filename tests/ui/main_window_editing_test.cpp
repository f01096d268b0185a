// The main window's undo and redo, its recent plans and its Settings.ini writes.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "settings/recent_plans.h"
#include "settings/settings_files.h"
#include "tests/ui/main_window_fixture.h"

namespace ardvane {
namespace {

using testing::MainWindowTest;
using testing::TwoDebtPlan;
using testing::WriteFile;

// An action of the window's menus by its object name.
QAction* MenuAction(const MainWindow& window, const char* name) {
  for (const QMenu* menu : window.findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (action->objectName() == name) return action;
    }
  }
  ADD_FAILURE() << name;
  return nullptr;
}

// Accepts the next modal dialog once it is up.
void AcceptNextDialog() {
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
  });
}

TEST_F(MainWindowTest, UndoAndRedoWalkBackAndForthThroughEditsAndRecalculate) {
  auto window = Open({SavePlan("abc.bvx", TwoDebtPlan()).string()});
  auto* undo = MenuAction(*window, "Undo1");
  auto* redo = MenuAction(*window, "Redo1");
  EXPECT_FALSE(undo->isEnabled());
  const int monthsAtStart = window->Results().ProposedPlan.GetDebtFreeMonths();

  // Typing a name is one step, however many keys.
  auto* first = Find<QLineEdit>(*window, "txtFirstName");
  first->selectAll();
  QTest::keyClicks(first, "Ann");
  Find<QLineEdit>(*window, "txtLastName")->setFocus();
  EXPECT_EQ(window->Session().Plan().FirstName, "Ann");
  auto* priority = Find<QComboBox>(*window, "cboPriority");
  priority->setCurrentIndex(3);
  window->SelectGridRow(1);
  window->DeleteDebt();
  EXPECT_EQ(testing::DebtNames(*window), "BC");
  EXPECT_NE(window->Results().ProposedPlan.GetDebtFreeMonths(), monthsAtStart);
  EXPECT_EQ(undo->text(), "&Undo Delete Debt");

  undo->trigger();
  EXPECT_EQ(testing::DebtNames(*window), "ABC");
  EXPECT_EQ(window->SelectedGridRow(), 1);
  undo->trigger();
  EXPECT_NE(window->Session().Plan().Priority, PaydownPriority::LowestInterestRate);
  EXPECT_EQ(priority->currentIndex(), PriorityCode(window->Session().Plan().Priority));
  EXPECT_TRUE(window->Session().Changed());
  undo->trigger();
  // Back where the plan was opened: its name, its figures, and nothing to save.
  EXPECT_EQ(window->Session().Plan().FirstName, "Zuzu");
  EXPECT_EQ(first->text(), "Zuzu");
  EXPECT_EQ(window->Results().ProposedPlan.GetDebtFreeMonths(), monthsAtStart);
  EXPECT_FALSE(window->Session().Changed());
  EXPECT_FALSE(undo->isEnabled());

  redo->trigger();
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(first->text(), "Ann");
  EXPECT_EQ(window->Session().Plan().Priority, PaydownPriority::LowestInterestRate);
  EXPECT_EQ(testing::DebtNames(*window), "BC");
  EXPECT_TRUE(window->Session().Changed());
  EXPECT_EQ(window->Results().ProposedPlan.GetDebtFreeMonths(),
            Calculate(window->Session().Plan(), window->Params(), window->Settings())
                .ProposedPlan.GetDebtFreeMonths());

  // Saving makes this the saved state; a new plan starts a fresh history.
  window->SavePlan(false);
  EXPECT_FALSE(window->Session().Changed());
  undo->trigger();
  EXPECT_TRUE(window->Session().Changed());
  redo->trigger();
  EXPECT_FALSE(window->Session().Changed());
  window->NewPlan();
  EXPECT_FALSE(undo->isEnabled());
}

TEST_F(MainWindowTest, RecentPlansListTheLastOpenedAndSayWhenOneIsGone) {
  const auto a = SavePlan("a.bvx", TwoDebtPlan());
  PlanDocument other = TwoDebtPlan();
  other.FirstName = "Other";
  const auto b = SavePlan("b.bvx", other);
  Open({a.string()})->close();
  auto window = Open({b.string()});
  auto* recent = Find<QMenu>(*window, "mnuRecentPlans");
  ASSERT_EQ(recent->actions().size(), 2);
  EXPECT_EQ(recent->actions()[0]->statusTip().toStdString(), b.string());
  EXPECT_EQ(recent->actions()[1]->statusTip().toStdString(), a.string());

  recent->actions()[1]->trigger();
  EXPECT_EQ(window->Session().Plan().FirstName, "Zuzu");
  EXPECT_EQ(recent->actions()[0]->statusTip().toStdString(), a.string());

  std::filesystem::remove(b);
  recent->actions()[1]->trigger();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], MissingRecentPlanMessage(b.string()));
  ASSERT_EQ(recent->actions().size(), 1);
  EXPECT_EQ(window->Session().Plan().FirstName, "Zuzu");
}

TEST_F(MainWindowTest, SettingsAreWrittenOnPreferencesOkAndAFailureIsSaidButClosingGoesOn) {
  auto window = Open();
  AcceptNextDialog();
  window->EditPreferences();
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "Settings.ini"));

  // A folder where Settings.ini should be cannot be replaced by the file.
  std::filesystem::remove(folder / "Settings.ini");
  std::filesystem::create_directory(folder / "Settings.ini");
  AcceptNextDialog();
  window->EditPreferences();
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_NE(prompts.errors[0].find((folder / "Settings.ini").string()), std::string::npos)
      << prompts.errors[0];
  EXPECT_TRUE(window->close());
  EXPECT_EQ(prompts.errors.size(), 2u);
}

// A Settings.ini that is there but cannot be read is said at start; the window carries on with
// the defaults and leaves the file alone for the rest of the session, even once it could be
// read: a save would put the defaults in place of the adviser's values.
TEST_F(MainWindowTest, AnUnreadableSettingsFileIsSaidAndNotWrittenThisSession) {
  const auto plan = SavePlan("a.bvx", TwoDebtPlan());
  const std::filesystem::path settings = folder / "Settings.ini";
  const std::string tooLarge = "[Company]\nName=Acme\n" + std::string(kMaxIniFileSize, ';');
  WriteFile(settings, tooLarge);
  auto window = Open({plan.string()});
  ASSERT_EQ(prompts.warnings.size(), 1u);
  EXPECT_EQ(prompts.warnings[0].rfind("Could not read \"" + settings.string() + "\": larger", 0),
            0u)
      << prompts.warnings[0];
  EXPECT_EQ(window->Settings(), DefaultPreferences(folder.path()));
  EXPECT_EQ(window->Session().Plan().FirstName, "Zuzu");

  AcceptNextDialog();
  window->EditPreferences();
  EXPECT_TRUE(prompts.errors.empty()) << prompts.errors[0];
  EXPECT_EQ(testing::ReadFile(settings), tooLarge);

  const std::string readable = "[Company]\nName=Acme\n";
  WriteFile(settings, readable);
  AcceptNextDialog();
  window->EditPreferences();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(prompts.errors.empty()) << prompts.errors[0];
  EXPECT_EQ(testing::ReadFile(settings), readable);
  EXPECT_EQ(prompts.warnings.size(), 1u);

  // The next start reads it, and saves again.
  window = Open({plan.string()});
  EXPECT_EQ(window->Settings().CompanyName, "Acme");
  EXPECT_TRUE(window->close());
  EXPECT_NE(testing::ReadFile(settings).find("a.bvx"), std::string::npos);
}

// An unreadable Params.ini is said; the window runs on each parameter's default and still
// saves its settings.
TEST_F(MainWindowTest, AnUnreadableParamsFileIsSaidAndTheDefaultsApply) {
  std::filesystem::create_directory(folder / "Params.ini");
  auto window = Open();
  ASSERT_EQ(prompts.warnings.size(), 1u);
  EXPECT_EQ(prompts.warnings[0].rfind(
                "Could not read \"" + (folder / "Params.ini").string() + "\": Is a directory.", 0),
            0u)
      << prompts.warnings[0];
  EXPECT_EQ(window->Params(), DefaultParams(testing::kPointRegional));
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(prompts.errors.empty()) << prompts.errors[0];
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "Settings.ini"));
}

TEST_F(MainWindowTest, ALastFileThatIsGoneIsNotOpened) {
  WriteFile(folder / "Settings.ini",
            "[Settings]\nLast File=" + (folder / "gone.bvx").string() + "\n");
  auto window = Open();
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_EQ(window->windowTitle(), "Ardvane - Untitled.bvx");
}

}  // namespace
}  // namespace ardvane
