#include "planfiles/plan_session.h"

#include <gtest/gtest.h>

#include <deque>

#include "planfiles/plan_file.h"
#include "test_files.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

using testing::M;
using testing::MakeDebt;

// Answers the session's questions from a script and records what was asked.
class ScriptedPrompts : public PlanPrompts {
 public:
  std::deque<SaveAnswer> saveAnswers;
  std::deque<bool> confirmations;
  std::deque<std::optional<std::filesystem::path>> openChoices;
  std::deque<std::optional<std::filesystem::path>> saveChoices;
  std::vector<std::string> questions;
  std::vector<std::string> proposedNames;
  std::vector<std::string> errors;

  SaveAnswer AskSaveChanges(const std::string& question) override {
    questions.push_back(question);
    return Next(saveAnswers, SaveAnswer::Cancel);
  }
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    return Next(confirmations, false);
  }
  std::optional<std::filesystem::path> ChooseOpenFile(const std::filesystem::path&) override {
    return Next(openChoices, std::optional<std::filesystem::path>());
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string& proposed) override {
    proposedNames.push_back(proposed);
    return Next(saveChoices, std::optional<std::filesystem::path>());
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }

 private:
  template <typename T>
  static T Next(std::deque<T>& answers, T fallback) {
    if (answers.empty()) return fallback;
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

PlanParameters Defaults() {
  PlanParameters params;
  params.DefaultTerm = 30;
  params.DefaultSetupFee = M(3000);
  params.DefaultReturnRate = 0.06;
  params.DefaultInterestRate = 0.07;
  params.DefaultFees = 0.02;
  params.DefaultMonthlyFee = M(25);
  params.DefaultAccelerator1 = M(100);
  params.DefaultSetupFeeRate = 0.25;
  return params;
}

class PlanSessionTest : public ::testing::Test {
 protected:
  PlanSessionTest() : session(Defaults(), RegionalSettings{}, EncodeDate(2008, 1, 15), prompts) {
    session.SetPlanDirectory(folder.path().string());
  }

  void AddDebts(std::initializer_list<const char*> names) {
    for (const char* name : names) session.AddDebt(MakeDebt(name, 100));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Debt& debt : session.Plan().Debts) names.push_back(debt.Name);
    return names;
  }

  TempFolder folder;
  ScriptedPrompts prompts;
  PlanSession session;
};

TEST_F(PlanSessionTest, SetDefaultsFillsANewPlanFromTheParameters) {
  ConsolidationLoanTerms terms;
  terms.CashOut = M(5000);
  terms.FeesAmount = M(12);
  session.SetConsolidationLoan(terms);
  session.SetFirstName("Old");
  session.SetNotes({"old note"});
  session.SetDefaults();
  const PlanDocument& plan = session.Plan();
  EXPECT_EQ(plan.FirstName, "");
  EXPECT_TRUE(plan.Notes.empty());
  EXPECT_EQ(plan.Date, EncodeDate(2008, 1, 15));
  EXPECT_EQ(plan.Accelerators[0], (Accelerator{M(100), Money(), 1}));
  EXPECT_DOUBLE_EQ(plan.ReturnRate.Value(), 6);
  EXPECT_DOUBLE_EQ(plan.ConsolidationLoan.InterestRate.Value(), 7);
  EXPECT_DOUBLE_EQ(plan.ConsolidationLoan.FeesRate.Value(), 2);
  EXPECT_EQ(plan.ConsolidationLoan.Term, 30);
  EXPECT_EQ(plan.SetupFee, M(3000));
  EXPECT_DOUBLE_EQ(plan.SetupFeeRate.Value(), 0.25);
  EXPECT_EQ(plan.ManagementFee, M(25));
  // Loan fees and cash out keep what was shown before.
  EXPECT_EQ(plan.ConsolidationLoan.CashOut, M(5000));
  EXPECT_EQ(plan.ConsolidationLoan.FeesAmount, M(12));
}

TEST_F(PlanSessionTest, FirstSaveProposesANameThenSaveWritesWithoutAsking) {
  session.NewPlan();
  session.SetFirstName("Zuzu");
  session.SetLastName("Zeved");
  const auto chosen = folder / "Zeved, Zuzu 1.15.2008.bvx";
  prompts.saveChoices = {chosen};
  ASSERT_TRUE(session.SavePlan(false));
  EXPECT_EQ(prompts.proposedNames, (std::vector<std::string>{"Zeved, Zuzu 1.15.2008.bvx"}));
  EXPECT_EQ(session.PlanFileName(), "Zeved, Zuzu 1.15.2008.bvx");
  EXPECT_FALSE(session.Changed());
  EXPECT_EQ(session.LastFilePath(), chosen.string());

  session.SetNotes({"more"});
  session.SetChanged(true);
  ASSERT_TRUE(session.SavePlan(false));
  EXPECT_EQ(prompts.proposedNames.size(), 1u);  // no dialog the second time
  EXPECT_NE(ReadFile(chosen).find("more"), std::string::npos);

  prompts.saveChoices = {folder / "copy.bvx"};
  ASSERT_TRUE(session.SavePlan(true));  // Save As always asks
  EXPECT_EQ(prompts.proposedNames.size(), 2u);
  EXPECT_EQ(session.PlanFileName(), "copy.bvx");
}

TEST_F(PlanSessionTest, ANameContainingUntitledAlwaysAsks) {
  const auto path = folder / "My Untitled.bvx copy.bvx";
  ASSERT_TRUE(SaveData(PlanDocument{}, path).ok());
  ASSERT_TRUE(session.OpenFile(path));
  EXPECT_EQ(session.LastFilePath(), "");
  EXPECT_FALSE(session.SavePlan(false));  // asked, and cancelled
  EXPECT_EQ(prompts.proposedNames.size(), 1u);
  EXPECT_EQ(session.PlanFileName(), "My Untitled.bvx copy.bvx");
}

TEST_F(PlanSessionTest, OpeningReplacesThePlanAndAFailureKeepsEverything) {
  PlanDocument saved;
  saved.FirstName = "Saved";
  const auto path = folder / "Saved.bvx";
  ASSERT_TRUE(SaveData(saved, path).ok());

  prompts.openChoices = {path};
  ASSERT_TRUE(session.OpenPlan());
  EXPECT_EQ(session.Plan().FirstName, "Saved");
  EXPECT_EQ(session.PlanFileName(), "Saved.bvx");
  EXPECT_EQ(session.PlanDirectory(), folder.path().string() + "/");
  EXPECT_FALSE(session.Changed());
  // Save writes back to the opened file without asking; Save As proposes a fresh name.
  session.SetLastName("Again");
  ASSERT_TRUE(session.SavePlan(false));
  EXPECT_TRUE(prompts.proposedNames.empty());
  EXPECT_NE(ReadFile(path).find("LastName=\"Again\""), std::string::npos);
  EXPECT_FALSE(session.SavePlan(true));
  EXPECT_EQ(prompts.proposedNames, (std::vector<std::string>{"Again, Saved 12.30.1899.bvx"}));

  session.SetFirstName("Edited");
  session.SetChanged(true);
  prompts.saveAnswers = {SaveAnswer::No};
  prompts.openChoices = {folder / "missing.bvx"};
  EXPECT_FALSE(session.OpenPlan());
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_NE(prompts.errors[0].find("missing.bvx"), std::string::npos);
  EXPECT_EQ(session.Plan().FirstName, "Edited");
  EXPECT_EQ(session.PlanFileName(), "Saved.bvx");
  EXPECT_TRUE(session.Changed());

  // A legacy file that stops on a bad number also leaves the plan alone.
  WriteFile(folder / "old.txt", "1\r\nA\r\nB\r\nnot a date\r\n");
  EXPECT_FALSE(session.OpenFile(folder / "old.txt"));
  EXPECT_EQ(session.Plan().FirstName, "Edited");
  EXPECT_EQ(session.PlanFileName(), "Saved.bvx");
}

TEST_F(PlanSessionTest, APlanBeyondTheLimitIsNotOpenedAndTheOpenPlanStays) {
  PlanDocument large;
  large.FirstName = "Large";
  for (int i = 0; i <= kWindowLimit.mostDebts; ++i) {
    large.Debts.AddDebt(MakeDebt("Debt " + std::to_string(i), 100));
  }
  const auto path = folder / "large.bvx";
  ASSERT_TRUE(SaveData(large, path).ok());
  const std::string file = ReadFile(path);

  // Without a limit any plan opens.
  ASSERT_TRUE(session.OpenFile(path));
  EXPECT_EQ(session.Plan().Debts.GetDebtCount(), kWindowLimit.mostDebts + 1);

  PlanDocument small;
  small.FirstName = "Small";
  ASSERT_TRUE(SaveData(small, folder / "small.bvx").ok());
  ASSERT_TRUE(session.OpenFile(folder / "small.bvx"));
  session.SetLastName("Edited");
  session.RefusePlansBeyond(kWindowLimit);
  const Status refused = session.TryOpenFile(path);
  EXPECT_EQ(refused.message(), DebtsRefusal(kWindowLimit.mostDebts + 1, kWindowLimit));
  EXPECT_EQ(session.Plan().FirstName, "Small");
  EXPECT_EQ(session.Plan().LastName, "Edited");
  EXPECT_EQ(session.PlanFileName(), "small.bvx");
  EXPECT_TRUE(session.Changed());
  EXPECT_FALSE(session.OpenFile(path));
  EXPECT_EQ(prompts.errors, (std::vector<std::string>{refused.message()}));
  // Save still writes the open plan to its own file.
  ASSERT_TRUE(session.SavePlan(false));
  EXPECT_NE(ReadFile(folder / "small.bvx").find("LastName=\"Edited\""), std::string::npos);
  EXPECT_EQ(ReadFile(path), file);

  // A plan at the limit opens.
  large.Debts.DeleteRow(0);
  ASSERT_TRUE(SaveData(large, path).ok());
  EXPECT_TRUE(session.OpenFile(path));
  EXPECT_EQ(session.Plan().FirstName, "Large");
  EXPECT_EQ(session.PlanFileName(), "large.bvx");
}

TEST_F(PlanSessionTest, UnsavedChangesAreNeverLostWithoutANo) {
  session.SetFirstName("Edited");
  session.SetChanged(true);

  prompts.saveAnswers = {SaveAnswer::Cancel};
  EXPECT_FALSE(session.NewPlan());
  EXPECT_EQ(session.Plan().FirstName, "Edited");
  EXPECT_EQ(prompts.questions.back(), "Would you like to save changes to Untitled.bvx?");

  prompts.saveAnswers = {SaveAnswer::Yes};  // and then the save dialog is cancelled
  EXPECT_FALSE(session.NewPlan());
  EXPECT_EQ(session.Plan().FirstName, "Edited");

  prompts.saveAnswers = {SaveAnswer::Yes};  // and the save fails
  prompts.saveChoices = {folder / "no such folder" / "x.bvx"};
  EXPECT_FALSE(session.CheckForChanges());
  EXPECT_EQ(prompts.errors.size(), 1u);
  EXPECT_TRUE(session.Changed());

  prompts.saveAnswers = {SaveAnswer::Yes};
  prompts.saveChoices = {folder / "kept.bvx"};
  EXPECT_TRUE(session.NewPlan());
  EXPECT_NE(ReadFile(folder / "kept.bvx").find("Edited"), std::string::npos);
  EXPECT_EQ(session.PlanFileName(), "Untitled.bvx");

  session.SetChanged(true);
  prompts.saveAnswers = {SaveAnswer::No};
  EXPECT_TRUE(session.CheckForChanges());
}

TEST_F(PlanSessionTest, NewPlanKeepsCashOutAndCountsAsChangedWhenFieldsChange) {
  ConsolidationLoanTerms terms;
  terms.CashOut = M(5000);
  session.SetConsolidationLoan(terms);
  AddDebts({"A"});
  session.SetChanged(false);
  EXPECT_TRUE(session.NewPlan());
  EXPECT_EQ(session.Plan().ConsolidationLoan.CashOut, M(5000));
  EXPECT_EQ(session.Plan().Debts.GetDebtCount(), 0);
  EXPECT_TRUE(session.Changed());
  session.SetChanged(false);
  EXPECT_TRUE(session.NewPlan());  // the same defaults again: nothing on screen changes
  EXPECT_FALSE(session.Changed());
}

TEST_F(PlanSessionTest, MovingDebtsWrapsAroundTheEnds) {
  AddDebts({"A", "B", "C"});
  EXPECT_EQ(session.SwapOrder(0, true), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(session.SwapOrder(2, false), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(session.SwapOrder(2, false), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(session.SwapOrder(1, true), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(session.SwapOrder(0, false), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"C", "A", "B"}));
}

TEST_F(PlanSessionTest, EditingTheListMarksTheplanChanged) {
  EXPECT_EQ(session.SwapOrder(0, true), std::nullopt);  // no debts: nothing happens
  EXPECT_FALSE(session.Changed());
  AddDebts({"A", "B", "C"});
  EXPECT_TRUE(session.Changed());

  session.SetChanged(false);
  prompts.confirmations = {false};
  EXPECT_EQ(session.DeleteSelectedDebt(3), std::nullopt);
  EXPECT_EQ(prompts.questions.back(), "The following debt will be deleted:\n\nC\n\nAre you sure?");
  EXPECT_FALSE(session.Changed());
  prompts.confirmations = {true};
  EXPECT_EQ(session.DeleteSelectedDebt(3), 2);  // the new last row is selected
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(session.Changed());
  EXPECT_EQ(session.DeleteSelectedDebt(0), std::nullopt);  // the header row holds no debt

  const Debt edited = MakeDebt("B2", 250);
  session.EditDebt(1, edited);
  EXPECT_EQ(session.Plan().Debts.At(1), edited);
  session.AddDebt(edited);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B2", "B2"}));
}


TEST_F(PlanSessionTest, EditsMarkThePlanChangedOnlyWhenAValueReallyChanges) {
  session.SetFirstName("Zuzu");
  session.SetChanged(false);
  EXPECT_FALSE(session.SetFirstName("Zuzu"));
  EXPECT_FALSE(session.SetPlanDate(session.Plan().Date));
  EXPECT_FALSE(session.SetAccelerator(0, session.Plan().Accelerators[0]));
  EXPECT_FALSE(session.SetAccelerator(3, Accelerator{M(1), M(2), 3}));  // no such option
  EXPECT_FALSE(session.SetConsolidationLoan(session.Plan().ConsolidationLoan));
  EXPECT_FALSE(session.Changed());

  Accelerator lumpSum = session.Plan().Accelerators[2];
  lumpSum.Annual = M(1200);
  EXPECT_TRUE(session.SetAccelerator(2, lumpSum));
  EXPECT_TRUE(session.Changed());
  EXPECT_EQ(session.Plan().Accelerators[2].Annual, M(1200));

  session.SetChanged(false);
  EXPECT_TRUE(session.SetMinimums(session.Plan().MinSetupFee, M(50), session.Plan().MinDownPayment));
  EXPECT_TRUE(session.Changed());
}

}  // namespace
}  // namespace ardvane
