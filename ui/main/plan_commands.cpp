// The main window's commands on the plan: new, open and save, the debt list, and the dialogs
// that edit the plan's assumptions.

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>

#include "engine/consolidation_recommendation.h"
#include "figures/csv_tables.h"
#include "figures/display_formats.h"
#include "figures/payoff_payment.h"
#include "inputs/plan_fee_values.h"
#include "inputs/set_payment.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/accelerator_dialog.h"
#include "ui/dialogs/debt_dialog.h"
#include "ui/dialogs/detail_window.h"
#include "ui/dialogs/notes_window.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/recommendation_window.h"
#include "ui/dialogs/setup_fee_dialog.h"
#include "ui/main/debt_grid_view.h"
#include "ui/main/debt_table_model.h"
#include "ui/main/input_panel.h"
#include "ui/main/main_window.h"
#include "ui/main/recent_plans_menu.h"
#include "ui/widgets/amount_field.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {

// The question about unsaved changes may save the plan even when the command then stops, so
// the history learns of a save after each of these.
void MainWindow::NewPlan() {
  if (session_.NewPlan()) {
    ShowNewPlan();
  } else {
    history_.MarkSaved();
  }
}

void MainWindow::OpenPlan() {
  if (session_.OpenPlan()) {
    ShowNewPlan();
    RememberPlan();
  } else {
    history_.MarkSaved();
  }
}

void MainWindow::SavePlan(bool saveAs) {
  const bool saved = session_.SavePlan(saveAs);
  history_.MarkSaved();
  UpdateCaption();
  if (saved) RememberPlan();
}

void MainWindow::OpenRecentPlan(const std::string& path) {
  if (!session_.CheckForChanges()) return;
  history_.MarkSaved();  // the question may have saved the plan
  if (settingsStore_.Recent().DropIfMissing(path)) {
    prompts_.ShowError(MissingRecentPlanMessage(path));
    RefreshRecentPlans();
    return;
  }
  if (!session_.OpenFile(path)) return;
  ShowNewPlan();
  RememberPlan();
}

void MainWindow::RememberPlan() {
  settingsStore_.Recent().Add(session_.PlanDirectory() + session_.PlanFileName());
  RefreshRecentPlans();
}

void MainWindow::RefreshRecentPlans() {
  FillRecentPlansMenu(*recentMenu_, settingsStore_.Recent().Paths(),
                      [this](const std::string& path) { OpenRecentPlan(path); });
}

void MainWindow::SaveSettings() {
  settingsStore_.SaveOrReport(settings_, session_.PlanDirectory(), session_.PlanFileName(),
                              [this](const std::string& message) { prompts_.ShowError(message); });
}

void MainWindow::AfterDebtListChange(int gridRowToSelect) {
  Recalculate();
  SelectGridRow(gridRowToSelect);
}

void MainWindow::EnterDebt(bool add) {
  const int count = session_.Plan().Debts.GetDebtCount();
  if (!add && count == 0) return;
  const int selected = add ? count : std::clamp(SelectedGridRow() - 1, 0, count - 1);
  if (!add) {
    if (auto warning = NoPayoffWarning(session_.Plan(), results_, selected, options_.regional)) {
      prompts_.ShowWarning(*warning);
    }
  }
  // The dialog stores the debt itself: on OK, and while it moves between debts.
  DebtDialog dialog(session_, prompts_, options_.programFolder, this);
  if (add) {
    dialog.StartAdd();
  } else {
    dialog.StartEdit(selected);
  }
  connect(&dialog, &DebtDialog::debtShown, this, [this](int index) { SelectGridRow(index + 1); });
  bool accepted = false;
  // Every debt the dialog wrote, on OK or while moving between debts, is one step.
  history_.Edit(
      add ? "Add Debt" : "Edit Debt",
      [&](PlanSession&) -> std::optional<int> {
        accepted = dialog.exec() == QDialog::Accepted;
        return dialog.CurrentDebt();
      },
      {.row = SelectedGridRow() - 1});
  if (!accepted && !dialog.WroteBack()) return;
  const int current = dialog.CurrentDebt();
  Recalculate();
  SelectGridRow(session_.Plan().Debts.GetDebtCount() == 0 ? 1 : current + 1);
  if (auto warning = NoPayoffWarning(session_.Plan(), results_, current, options_.regional)) {
    prompts_.ShowWarning(*warning);
  }
}

void MainWindow::DeleteDebt() {
  const int gridRow = SelectedGridRow();
  std::optional<int> next;
  history_.Edit(
      "Delete Debt",
      [&](PlanSession& s) -> std::optional<int> {
        next = s.DeleteSelectedDebt(gridRow);
        return next ? std::optional<int>(*next - 1) : std::nullopt;
      },
      {.row = gridRow - 1});
  if (!next) return;
  AfterDebtListChange(*next);
}

void MainWindow::MoveDebt(bool up) {
  const int row = SelectedGridRow() - 1;
  std::optional<int> target;
  history_.Edit(
      "Move Debt", [&](PlanSession& s) { return target = s.SwapOrder(row, up); }, {.row = row});
  if (!target) return;
  AfterDebtListChange(*target + 1);
}

void MainWindow::SetPayment() {
  const int row = SelectedGridRow() - 1;
  const std::optional<SetPaymentOffer> offer =
      SetPaymentOfferFor(session_.Plan(), results_, row, options_.regional);
  if (!offer) return;
  history_.Edit("Set Payment",
                [&](PlanSession& s) {
                  s.EditDebt(row, DebtWithPaymentOffer(s.Plan().Debts.At(row), *offer));
                },
                {.row = row});
  AfterDebtListChange(row + 1);
}

void MainWindow::CopySelectedDebts() {
  std::vector<int> selected;
  for (const QModelIndex& index : in_->debtGrid->selectionModel()->selectedRows()) {
    selected.push_back(index.row());
  }
  if (selected.empty()) return;
  std::sort(selected.begin(), selected.end());
  QApplication::clipboard()->setText(Q(TabSeparatedRows(debtModel_->RowTexts(selected))));
}

std::string MainWindow::InformationText() const {
  const RegionalSettings& regional = options_.regional;
  const PlanFigures& f = shownFigures_;
  std::string text = "Current Total Payment:    " + FormatMoney(f.current.monthlyOutlay, 2, regional);
  text += "\n\nProposed Total Payment:  " + FormatMoney(f.proposed.monthlyOutlay, 2, regional);
  text += "\n\nAnnual Return:  " + FormatPercent2(f.AnnualReturnPercent(), regional);
  text += "\n\nTotal Escrow:  " + FormatMoney(f.escrow, 2, regional);
  // A plan without debts has no loan to name a priority for.
  const Loan* loan = results_.ProposedPlan.GetLoan(SelectedGridRow() - 1);
  text += "\n\nSelected Debt Priority:  " + (loan ? std::to_string(loan->PayoffOrder()) : "");
  return text;
}

void MainWindow::ShowAbout() {
  AboutBox about(options_.programFolder, options_.versionText, params_.VersionName, prompts_, this);
  about.exec();
}

void MainWindow::ShowMonthlyTables() {
  DetailWindow details(session_.Plan(), results_, options_.regional, prompts_,
                       std::filesystem::path(session_.PlanDirectory()) / session_.PlanFileName(),
                       this);
  details.exec();
}

void MainWindow::ShowRecommendation() {
  if (session_.Plan().Debts.GetDebtCount() == 0) {
    prompts_.ShowInformation(kNoDebtsToRecommend);
    return;
  }
  RecommendationWindow recommendation(
      session_.Plan(), results_, options_.regional, [this] { SelectDebtsToConsolidate(true); },
      this);
  recommendation.exec();
}

void MainWindow::SelectDebtsToConsolidate(bool announce) {
  DebtList debts = session_.Plan().Debts;
  const bool changed =
      ::ardvane::SelectDebtsToConsolidate(debts, session_.Plan().ConsolidationLoan.InterestRate);
  history_.Edit("Consolidation", [&debts](PlanSession& s) {
    for (int i = 0; i < debts.GetDebtCount(); ++i) {
      if (debts.At(i) != s.Plan().Debts.At(i)) s.EditDebt(i, debts.At(i));
    }
  });
  // Applying the recommendation counts as a change even when every debt already followed it.
  session_.SetChanged(true);
  Recalculate();
  if (announce) prompts_.ShowInformation(ConsolidationOutcomeMessage(changed));
}

void MainWindow::EditPlanFee() {
  in_->SetFeeLabelLook(false);
  // The dialog writes the plan; this shows its fee in the fee field and recalculates.
  const auto recalculate = [this] {
    filling_ = true;
    in_->feesAmountField->SetNumericValue(static_cast<double>(session_.Plan().SetupFee.Units()));
    filling_ = false;
    Recalculate();
  };
  SetupFeeDialog dialog(session_, options_.regional, recalculate, this);
  setupFeeDialog_ = &dialog;
  dialog.ShowFigures(MakeSetupFeeFigures(session_.Plan(), results_, options_.regional));
  history_.Edit("Plan Fee", [&dialog](PlanSession&) { dialog.exec(); });
  setupFeeDialog_ = nullptr;
}

void MainWindow::EditPowerPayment() {
  const DebtFreeFigures& proposed = shownFigures_.proposed;
  AcceleratorDialog dialog(session_, options_.regional, params_, settings_,
                           proposed.DebtFree() ? proposed.date : 0, this);
  bool accepted = false;
  history_.Edit("Power Payment", [&](PlanSession&) {
    accepted = dialog.exec() == QDialog::Accepted;
    if (!accepted) return;
    const Accelerator& first = session_.Plan().Accelerators[0];
    filling_ = true;
    in_->powerPaymentField->SetNumericValue(static_cast<double>(first.Monthly.Units()));
    in_->annualPowerPaymentField->SetNumericValue(static_cast<double>(first.Annual.Units()));
    filling_ = false;
    StoreAccelerator();
  });
  if (accepted) Recalculate();
}

void MainWindow::EditPreferences() {
  PreferencesDialog dialog(settings_, params_, options_.programFolder, this);
  if (dialog.exec() != QDialog::Accepted) return;
  // Written at once, so another window started now reads them, and a failure is said while
  // the adviser still knows what was changed.
  SaveSettings();
  RefreshRecentPlans();  // with what other windows added meanwhile
  Recalculate();
}

void MainWindow::OpenNotes() {
  if (!notes_) {
    auto now = options_.now;
    if (!now) now = [today = options_.today] { return LocalDateTime{today, 0, 0, 0}; };
    notes_ = new NotesWindow(session_, settings_, options_.regional, options_.programFolder,
                             prompts_, std::move(now), nullptr, this);
    // One step per OK of the notes window, which has written the notes by then.
    connect(notes_, &QDialog::accepted, this, [this] { history_.Record("Notes"); });
  }
  notes_->OpenNotes();
}

}  // namespace ardvane
