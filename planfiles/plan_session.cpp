#include "planfiles/plan_session.h"

#include <system_error>

#include "engine/calendar.h"
#include "planfiles/plan_file.h"

namespace ardvane {
namespace {

std::string FolderWithSlash(const std::filesystem::path& folder) {
  std::string text = folder.string();
  if (text.empty()) return text;
  if (text.back() != '/') text += '/';
  return text;
}

std::string ReplaceAll(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

}  // namespace

PlanSession::PlanSession(PlanParameters params, RegionalSettings regional, DayNumber today,
                         PlanPrompts& prompts)
    : params_(std::move(params)), regional_(std::move(regional)), today_(today), prompts_(prompts) {}

template <typename T>
bool PlanSession::Assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  changed_ = true;
  return true;
}

bool PlanSession::SetFirstName(const std::string& name) { return Assign(plan_.FirstName, name); }
bool PlanSession::SetLastName(const std::string& name) { return Assign(plan_.LastName, name); }
bool PlanSession::SetPlanDate(DayNumber date) { return Assign(plan_.Date, date); }
bool PlanSession::SetReturnRate(Percent rate) { return Assign(plan_.ReturnRate, rate); }
bool PlanSession::SetPriority(PaydownPriority priority) { return Assign(plan_.Priority, priority); }
bool PlanSession::SetConsolidate(bool consolidate) { return Assign(plan_.Consolidate, consolidate); }
bool PlanSession::SetSetupFee(Money fee) { return Assign(plan_.SetupFee, fee); }
bool PlanSession::SetSetupFeeRate(Ratio rate) { return Assign(plan_.SetupFeeRate, rate); }
bool PlanSession::SetManagementFee(Money monthlyFee) {
  return Assign(plan_.ManagementFee, monthlyFee);
}
bool PlanSession::SetDownPayment(Money downPayment) {
  return Assign(plan_.DownPayment, downPayment);
}
bool PlanSession::SetMinimums(Money minSetupFee, Money minSavings, Money minDownPayment) {
  const bool a = Assign(plan_.MinSetupFee, minSetupFee);
  const bool b = Assign(plan_.MinSavings, minSavings);
  const bool c = Assign(plan_.MinDownPayment, minDownPayment);
  return a || b || c;
}
bool PlanSession::SetAccelerator(int index, const Accelerator& accelerator) {
  if (index < 0 || index >= static_cast<int>(plan_.Accelerators.size())) return false;
  return Assign(plan_.Accelerators[index], accelerator);
}
bool PlanSession::SetConsolidationLoan(const ConsolidationLoanTerms& terms) {
  return Assign(plan_.ConsolidationLoan, terms);
}
bool PlanSession::SetNotes(std::vector<std::string> notes) {
  return Assign(plan_.Notes, std::move(notes));
}

void PlanSession::SetPlanDirectory(std::string folder) { planDirectory_ = FolderWithSlash(folder); }

void PlanSession::SetDefaults() {
  const PlanParameters& p = params_;
  plan_.Notes.clear();
  plan_.FirstName.clear();
  plan_.LastName.clear();
  plan_.Date = today_;
  const Money monthly[] = {p.DefaultAccelerator1, p.DefaultAccelerator2, p.DefaultAccelerator3};
  for (int i = 0; i < 3; ++i) plan_.Accelerators[i] = Accelerator{monthly[i], Money(), 1};
  plan_.DownPayment = p.DefaultDownPayment;
  plan_.ReturnRate = Percent(p.DefaultReturnRate * 100);
  plan_.Priority = PriorityFromCode(p.DefaultPaydownPriority);
  plan_.ConsolidationLoan.Term = p.DefaultTerm;
  plan_.SetupFee = p.DefaultSetupFee;
  plan_.SetupFeeRate = Ratio(p.DefaultSetupFeeRate);
  plan_.MinSetupFee = p.DefaultMinSetupFee;
  plan_.MinSavings = p.DefaultMinSavings;
  plan_.MinDownPayment = p.DefaultMinDownPayment;
  plan_.ManagementFee = p.DefaultMonthlyFee;
  plan_.ConsolidationLoan.FeesRate = Percent(p.DefaultFees * 100);
  plan_.ConsolidationLoan.InterestRate = Percent(p.DefaultInterestRate * 100);
  plan_.Consolidate = p.DefaultConsolidate;
  plan_.ConsolidationLoan.InterestOnly = false;
}

bool PlanSession::CheckForChanges() {
  if (!changed_) return true;
  switch (prompts_.AskSaveChanges("Would you like to save changes to " + planFileName_ + "?")) {
    case SaveAnswer::Yes:
      return SavePlan(false);
    case SaveAnswer::No:
      return true;
    case SaveAnswer::Cancel:
      return false;
  }
  return false;
}

bool PlanSession::NewPlan() {
  if (!CheckForChanges()) return false;
  const PlanDocument before = plan_;
  SetDefaults();
  ClearDebts();
  ClearNotes();
  planFileName_ = kUntitledPlanName;
  // The fields on screen report a change when they get a different value.
  if (plan_ != before) changed_ = true;
  return true;
}

bool PlanSession::OpenPlan() {
  if (!CheckForChanges()) return false;
  const auto path = prompts_.ChooseOpenFile(planDirectory_);
  if (!path) return false;
  return OpenFile(*path);
}

bool PlanSession::OpenFile(const std::filesystem::path& path) {
  const Status status = TryOpenFile(path);
  if (!status.ok()) prompts_.ShowError(status.message());
  return status.ok();
}

Status PlanSession::TryOpenFile(const std::filesystem::path& path) {
  PlanDocument read = plan_;
  if (Status status = ReadData(path, read, ReadContext()); !status.ok()) return status;
  if (debtsLimit_) {
    std::string refusal = DebtsRefusal(read.Debts.GetDebtCount(), *debtsLimit_);
    if (!refusal.empty()) return Status::InvalidData(std::move(refusal));
  }
  plan_ = std::move(read);
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  planFileName_ = absolute.filename().string();
  planDirectory_ = FolderWithSlash(absolute.parent_path());
  changed_ = false;
  return Status::Ok();
}

bool PlanSession::SavePlan(bool saveAs) {
  if (!planDirectory_.empty()) {
    std::error_code ignored;  // a folder that cannot be made shows up as a failed save
    std::filesystem::create_directories(planDirectory_, ignored);
  }
  if (saveAs || planFileName_.find(kUntitledPlanName) != std::string::npos) {
    const auto chosen = prompts_.ChooseSaveFile(planDirectory_, ProposedSaveName());
    if (!chosen) return false;
    if (!SaveTo(*chosen)) return false;
    const std::filesystem::path absolute = std::filesystem::absolute(*chosen);
    planFileName_ = absolute.filename().string();
    planDirectory_ = FolderWithSlash(absolute.parent_path());
    return true;
  }
  return SaveTo(std::filesystem::path(planDirectory_) / planFileName_);
}

bool PlanSession::SaveTo(const std::filesystem::path& path) {
  if (const Status saved = SaveData(plan_, path); !saved.ok()) {
    prompts_.ShowError(saved.message());
    return false;
  }
  changed_ = false;
  return true;
}

std::string PlanSession::ProposedSaveName() const {
  const std::string name = plan_.LastName + ", " + plan_.FirstName + " " +
                           FormatShortDate(plan_.Date, regional_.shortDateFormat) + ".bvx";
  return ReplaceAll(name, '/', '.');
}

std::string PlanSession::LastFilePath() const {
  if (planFileName_.find(kUntitledPlanName) != std::string::npos) return {};
  return planDirectory_ + planFileName_;
}

void PlanSession::AddDebt(Debt debt) {
  plan_.Debts.AddDebt(std::move(debt));
  changed_ = true;
}

void PlanSession::EditDebt(int row, Debt debt) {
  plan_.Debts.EditDebt(row, std::move(debt));
  changed_ = true;
}

void PlanSession::DeleteDebt(int row) {
  plan_.Debts.DeleteRow(row);
  changed_ = true;
}

std::optional<int> PlanSession::DeleteSelectedDebt(int gridRow) {
  const int row = gridRow - 1;
  if (!plan_.Debts.ValidRow(row)) return std::nullopt;
  const std::string question =
      "The following debt will be deleted:\n\n" + plan_.Debts.At(row).Name + "\n\nAre you sure?";
  if (!prompts_.Confirm(question)) return std::nullopt;
  DeleteDebt(row);
  const int gridRows = plan_.Debts.GetDebtCount() + 1;
  return std::min(gridRow, gridRows - 1);
}

std::optional<int> PlanSession::SwapOrder(int row, bool up) {
  const int count = plan_.Debts.GetDebtCount();
  if (count == 0 || row < 0 || row >= count) return std::nullopt;
  int target = up ? row - 1 : row + 1;
  if (target < 0) {
    target = count - 1;  // the first row wraps to the end, the others move up
    plan_.Debts.MoveRow(row, target);
  } else if (target >= count) {
    target = 0;  // the last row wraps to the top, the others move down
    plan_.Debts.MoveRow(row, target);
  } else {
    plan_.Debts.SwapRows(row, target);
  }
  changed_ = true;
  return target;
}

}  // namespace ardvane
