#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/status.h"
#include "engine/calculation_limits.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "planfiles/plan_text.h"

namespace ardvane {

enum class SaveAnswer { Yes, No, Cancel };

// The questions and file dialogs the plan's lifecycle needs. The main window answers them
// with message boxes and file dialogs; tests answer them directly.
class PlanPrompts {
 public:
  virtual ~PlanPrompts() = default;
  virtual SaveAnswer AskSaveChanges(const std::string& question) = 0;
  virtual bool Confirm(const std::string& question) = 0;
  // The file to open, or nothing when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseOpenFile(
      const std::filesystem::path& startFolder) = 0;
  // The file to save to, starting in `startFolder` with `proposedName`; nothing on cancel.
  virtual std::optional<std::filesystem::path> ChooseSaveFile(
      const std::filesystem::path& startFolder, const std::string& proposedName) = 0;
  virtual void ShowError(const std::string& message) = 0;
};

inline constexpr char kUntitledPlanName[] = "Untitled.bvx";

// The open plan with its file name, folder and unsaved-changes flag, and the operations on
// it as a whole and on its list of debts. Nothing here recalculates: the caller does after
// each operation that changes the plan.
class PlanSession {
 public:
  // `params` holds the defaults for new plans and for unreadable file values; `regional` is the
  // one regional settings value of the run, `today` the date new plans start on.
  PlanSession(PlanParameters params, RegionalSettings regional, DayNumber today,
              PlanPrompts& prompts);

  // The plan as a whole, for reading. Edits go through the operations below, which keep the
  // unsaved-changes flag right.
  const PlanDocument& Plan() const { return plan_; }
  const RegionalSettings& Regional() const { return regional_; }
  const PlanParameters& Params() const { return params_; }
  const std::string& PlanFileName() const { return planFileName_; }
  // The folder of the open plan, with a trailing '/'.
  const std::string& PlanDirectory() const { return planDirectory_; }
  bool Changed() const { return changed_; }
  void SetChanged(bool changed) { changed_ = changed; }
  void SetPlanDirectory(std::string folder);
  // What the plan file readers need: the regional settings, the defaults and today.
  PlanReadContext ReadContext() const { return {regional_, params_, today_}; }
  // The date new plans start on; also the fallback for an unreadable plan date.
  void SetToday(DayNumber today) { today_ = today; }
  DayNumber Today() const { return today_; }

  // Edits of single plan values. Each stores the value and marks the plan changed only when
  // it differs from the stored one, and returns whether it did.
  bool SetFirstName(const std::string& name);
  bool SetLastName(const std::string& name);
  bool SetPlanDate(DayNumber date);
  bool SetReturnRate(Percent rate);
  bool SetPriority(PaydownPriority priority);
  bool SetConsolidate(bool consolidate);
  bool SetSetupFee(Money fee);
  bool SetSetupFeeRate(Ratio rate);
  bool SetManagementFee(Money monthlyFee);
  bool SetDownPayment(Money downPayment);
  bool SetMinimums(Money minSetupFee, Money minSavings, Money minDownPayment);
  // Power payment option `index` (0 is the plan's own, 1 and 2 the report alternatives).
  bool SetAccelerator(int index, const Accelerator& accelerator);
  bool SetConsolidationLoan(const ConsolidationLoanTerms& terms);
  bool SetNotes(std::vector<std::string> notes);

  // Fills the plan's assumptions from the parameter defaults (names emptied, today's date);
  // debts, loan fees and cash out are left as they are.
  void SetDefaults();
  // When there are unsaved changes, asks whether to save them (Yes, No, Cancel). True when
  // the asking command may go on: the answer was No, or Yes and the save succeeded.
  bool CheckForChanges();
  // A new plan from the defaults. False when the user kept the old plan.
  bool NewPlan();
  // Asks for a file and opens it. False when nothing was opened.
  bool OpenPlan();
  // Opens `path` without asking; on failure shows the error and keeps the plan as it was.
  bool OpenFile(const std::filesystem::path& path);
  // The same, but a failure is returned instead of shown: ReadData's, or InvalidData with
  // DebtsRefusal's message.
  Status TryOpenFile(const std::filesystem::path& path);
  // From now on a plan of more debts than `limit` holds is not opened: OpenFile and
  // TryOpenFile fail with DebtsRefusal's message and keep the open plan, its name and its
  // folder, so that nothing is calculated for it and no save can write over its file. By
  // default any plan the file readers read is opened.
  void RefusePlansBeyond(const DebtsLimit& limit) { debtsLimit_ = limit; }
  // Saves the plan, asking for a name when it has none yet or for Save As. False when nothing
  // was saved (cancelled or failed; a failure has been shown).
  bool SavePlan(bool saveAs);
  // "Last, First M.d.yyyy.bvx": the name proposed when a plan is first saved.
  std::string ProposedSaveName() const;
  // Where Settings.ini's "Last File" should point, or empty for a plan never saved.
  std::string LastFilePath() const;

  // Debt list editing; each marks the plan changed.
  void AddDebt(Debt debt);
  void EditDebt(int row, Debt debt);
  void DeleteDebt(int row);
  // Asks to confirm, then deletes the debt of grid row `gridRow` (row 0 is the header).
  // Returns the grid row to select afterwards, or nothing when nothing was deleted.
  std::optional<int> DeleteSelectedDebt(int gridRow);
  // Moves a debt one row up or down, wrapping around the ends. Returns the row the debt
  // went to, or nothing when there are no debts.
  std::optional<int> SwapOrder(int row, bool up);
  void ClearDebts() { plan_.Debts.ClearDebts(); }
  void ClearNotes() { plan_.Notes.clear(); }
  // Puts back a whole plan, as undo and redo do. The file name, folder and the Changed flag
  // stay as they are: the caller knows whether the plan now matches the saved one.
  void RestorePlan(PlanDocument plan) { plan_ = std::move(plan); }


 private:
  bool SaveTo(const std::filesystem::path& path);

  template <typename T>
  bool Assign(T& field, T value);

  PlanDocument plan_;
  PlanParameters params_;
  RegionalSettings regional_;
  DayNumber today_ = 0;
  PlanPrompts& prompts_;
  std::optional<DebtsLimit> debtsLimit_;
  std::string planFileName_ = kUntitledPlanName;
  std::string planDirectory_;
  bool changed_ = false;
};

}  // namespace ardvane
