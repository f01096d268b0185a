#include "ui/main/plan_history.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "engine/calendar.h"
#include "planfiles/plan_file.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_support.h"
#include "tests/ui/fake_prompts.h"

namespace ardvane {
namespace {

using testing::M;
using testing::MakeDebt;

// Saves to the one file the test names.
class SavingPrompts : public testing::FakePrompts {
 public:
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string&) override {
    return saveFile;
  }
  std::optional<std::filesystem::path> saveFile;
};

std::string SavedBytes(const PlanDocument& plan, const std::filesystem::path& path) {
  const Status saved = SaveData(plan, path);
  EXPECT_TRUE(saved.ok()) << saved.message();
  return testing::ReadFile(path);
}

class PlanHistoryTest : public ::testing::Test {
 protected:
  PlanHistoryTest()
      : session(PlanParameters{}, RegionalSettings{}, EncodeDate(2026, 3, 2), prompts),
        history(session, [this](int row) {
          ++restoredCalls;
          restoredRow = row;
        }) {
    prompts.saveFile = folder.path() / "Client.bvx";
    session.SetDefaults();
    session.SetChanged(false);
    history.Reset();
  }

  testing::TempFolder folder;
  SavingPrompts prompts;
  PlanSession session;
  PlanHistory history;
  int restoredCalls = 0;
  int restoredRow = -2;
};

TEST_F(PlanHistoryTest, EachUndoRestoresTheEarlierPlanAndEachRedoTheLaterOne) {
  std::vector<PlanDocument> plans{session.Plan()};
  std::vector<QString> texts;
  const auto edit = [&](const char* text, auto op) {
    ASSERT_TRUE(history.Edit(text, op)) << text;
    plans.push_back(session.Plan());
    texts.push_back(text);
  };
  edit("Client Name", [](PlanSession& s) { return s.SetFirstName("Ann"); });
  edit("Add Debt", [](PlanSession& s) { s.AddDebt(MakeDebt("Visa", 1200, 18, 50)); });
  edit("Add Debt", [](PlanSession& s) { s.AddDebt(MakeDebt("Car", 9000, 6, 300)); });
  edit("Edit Debt", [](PlanSession& s) { s.EditDebt(0, MakeDebt("Visa", 1500, 18, 50)); });
  edit("Move Debt", [](PlanSession& s) { return s.SwapOrder(1, true); });
  edit("Priority", [](PlanSession& s) { return s.SetPriority(PaydownPriority::LowestBalance); });
  edit("Power Payment", [](PlanSession& s) { return s.SetAccelerator(0, {M(75), M(500), 4}); });
  edit("Plan Fee", [](PlanSession& s) { return s.SetSetupFee(M(1234)); });
  edit("Consolidation", [](PlanSession& s) { return s.SetConsolidate(true); });
  edit("Notes", [](PlanSession& s) { return s.SetNotes({"Called on Monday"}); });
  edit("Delete Debt", [](PlanSession& s) { return s.DeleteSelectedDebt(2); });
  const int steps = static_cast<int>(texts.size());
  ASSERT_EQ(history.StepCount(), steps);

  for (int i = steps; i > 0; --i) {
    EXPECT_EQ(history.UndoAction()->text(), "&Undo " + texts[i - 1]);
    history.Undo();
    EXPECT_EQ(session.Plan(), plans[i - 1]) << "undo of step " << i;
    EXPECT_EQ(restoredCalls, steps - i + 1);
  }
  EXPECT_FALSE(history.UndoAction()->isEnabled());
  EXPECT_EQ(history.UndoAction()->text(), "&Undo");
  for (int i = 1; i <= steps; ++i) {
    EXPECT_EQ(history.RedoAction()->text(), "&Redo " + texts[i - 1]);
    history.RedoAction()->trigger();
    EXPECT_EQ(session.Plan(), plans[i]) << "redo of step " << i;
  }
  EXPECT_FALSE(history.RedoAction()->isEnabled());
  EXPECT_EQ(restoredCalls, 2 * steps);
}

TEST_F(PlanHistoryTest, UndoBackToTheSavedPlanClearsChangedAndLeavingItSetsIt) {
  history.Edit("Client Name", [](PlanSession& s) { return s.SetLastName("Berg"); });
  ASSERT_TRUE(session.SavePlan(false));
  history.MarkSaved();
  const std::string saved = testing::ReadFile(*prompts.saveFile);
  history.Edit("Return Rate", [](PlanSession& s) { return s.SetReturnRate(Percent(4.5)); });
  EXPECT_TRUE(session.Changed());

  history.Undo();
  EXPECT_FALSE(session.Changed());
  EXPECT_EQ(SavedBytes(session.Plan(), folder.path() / "undone.bvx"), saved);
  history.Undo();
  EXPECT_TRUE(session.Changed()) << "before the save";
  history.Redo();
  EXPECT_FALSE(session.Changed());
  history.Redo();
  EXPECT_TRUE(session.Changed());

  // A failed save leaves the saved state where it was.
  prompts.saveFile = folder.path() / "missing" / "folder" / "x.bvx";
  EXPECT_FALSE(session.SavePlan(true));
  history.MarkSaved();
  history.Undo();
  EXPECT_FALSE(session.Changed());

  // New and Open start again: nothing to undo.
  history.Reset();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

TEST_F(PlanHistoryTest, EditsThatChangeNothingPushNoStep) {
  history.Edit("Add Debt", [](PlanSession& s) { s.AddDebt(MakeDebt("Visa", 1200)); });
  history.MarkSaved();  // nothing saved: the plan stays changed
  session.SetChanged(false);
  history.MarkSaved();
  const Debt same = session.Plan().Debts.At(0);

  EXPECT_FALSE(history.Edit("Client Name", [](PlanSession& s) { return s.SetFirstName(""); }));
  // The session marks a rewritten debt changed even when its fields are the same.
  EXPECT_FALSE(history.Edit("Edit Debt", [&](PlanSession& s) { s.EditDebt(0, same); }));
  prompts.confirm = false;
  EXPECT_FALSE(history.Edit("Delete Debt", [](PlanSession& s) { return s.DeleteSelectedDebt(1); }));
  EXPECT_EQ(history.StepCount(), 1);
  EXPECT_FALSE(session.Changed());
}

TEST_F(PlanHistoryTest, ANewEditAfterUndoDropsTheRedoSteps) {
  history.Edit("Client Name", [](PlanSession& s) { return s.SetFirstName("Ann"); });
  history.Edit("Monthly Fee", [](PlanSession& s) { return s.SetManagementFee(M(30)); });
  history.Undo();
  EXPECT_TRUE(history.CanRedo());
  history.Edit("Plan Date", [](PlanSession& s) { return s.SetPlanDate(EncodeDate(2026, 4, 1)); });
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.UndoText(), "Plan Date");
  history.Undo();
  history.Undo();
  EXPECT_EQ(session.Plan().FirstName, "");
  EXPECT_EQ(session.Plan().ManagementFee, PlanParameters{}.DefaultMonthlyFee);
}

TEST_F(PlanHistoryTest, TypingInOneFieldIsOneStepUntilTheFieldIsLeft) {
  const auto type = [&](const char* name) {
    history.Edit("Client Name", [&](PlanSession& s) { return s.SetFirstName(name); },
                 {.typing = true});
  };
  type("A");
  type("An");
  type("Ann");
  EXPECT_EQ(history.StepCount(), 1);
  history.EndTyping();
  type("Anna");
  EXPECT_EQ(history.StepCount(), 2);
  history.Undo();
  EXPECT_EQ(session.Plan().FirstName, "Ann");
  history.Undo();
  EXPECT_EQ(session.Plan().FirstName, "");
  EXPECT_FALSE(session.Changed());

  // Typing back to the saved text leaves no step and nothing to save.
  history.Reset();
  type("B");
  EXPECT_TRUE(session.Changed());
  type("");
  EXPECT_EQ(history.StepCount(), 0);
  EXPECT_FALSE(session.Changed());
}

TEST_F(PlanHistoryTest, UndoShowsTheRowTheEditStartedOnAndRedoTheRowItLeft) {
  for (const char* name : {"A", "B", "C"}) {
    history.Edit("Add Debt", [&](PlanSession& s) { s.AddDebt(MakeDebt(name, 100)); });
  }
  std::optional<int> moved;
  history.Edit("Move Debt", [&](PlanSession& s) { return moved = s.SwapOrder(2, false); },
               {.row = 2});
  history.Undo();
  EXPECT_EQ(restoredRow, 2);
  history.Redo();
  EXPECT_EQ(restoredRow, 0) << "the last debt wrapped to the top";

  // A change the notes window wrote itself, taken in afterwards.
  session.SetNotes({"Paid in full"});
  EXPECT_TRUE(history.Record("Notes"));
  history.Undo();
  EXPECT_TRUE(session.Plan().Notes.empty());
  EXPECT_EQ(restoredRow, PlanHistory::kKeepRow);
}

TEST_F(PlanHistoryTest, ActionsHaveTheStandardKeysAndTheStackIsCapped) {
  const QList<QKeySequence> undoKeys = history.UndoAction()->shortcuts();
  const QList<QKeySequence> redoKeys = history.RedoAction()->shortcuts();
  EXPECT_TRUE(undoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
  EXPECT_TRUE(redoKeys.contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
  EXPECT_TRUE(redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

  for (int i = 1; i <= PlanHistory::kUndoLimit + 20; ++i) {
    history.Edit("Return Rate", [&](PlanSession& s) { return s.SetReturnRate(Percent(i)); });
  }
  EXPECT_EQ(history.StepCount(), PlanHistory::kUndoLimit);
}

// The keys reach the actions through a window's Edit menu, as in the main window.
TEST_F(PlanHistoryTest, CtrlZAndCtrlYInAWindowUndoAndRedo) {
  QMainWindow window;
  QMenu* edit = window.menuBar()->addMenu("&Edit");
  edit->addAction(history.UndoAction());
  edit->addAction(history.RedoAction());
  auto* button = new QPushButton("New", &window);
  window.setCentralWidget(button);
  window.show();
  QApplication::setActiveWindow(&window);
  button->setFocus();
  history.Edit("Client Name", [](PlanSession& s) { return s.SetFirstName("Ann"); });

  QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(session.Plan().FirstName, "");
  QTest::keyClick(button, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(session.Plan().FirstName, "Ann");
  QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(session.Plan().FirstName, "Ann");
  EXPECT_EQ(restoredCalls, 4);
}

}  // namespace
}  // namespace ardvane
