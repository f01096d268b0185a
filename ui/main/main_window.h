#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/language.h"
#include "engine/plan_calculation.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "figures/plan_figures.h"
#include "figures/plan_statements.h"
#include "inputs/client_notes.h"
#include "planfiles/plan_session.h"
#include "platform/paper_size.h"
#include "reports/print_log.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"
#include "ui/main/plan_history.h"
#include "ui/widgets/design_pixels.h"
#include "ui/widgets/window_prompts.h"

class QAction;
class QMenu;
class QToolButton;

namespace ardvane {

class ChartForms;
class DebtTableModel;
class InputPanel;
class ResultsPanel;
class NotesWindow;
class SetupFeeDialog;

// What the main window takes from its surroundings at start-up; tests fix every value.
struct MainWindowOptions {
  std::filesystem::path programFolder;  // Settings.ini, Params.ini, Help/, ... live here
  RegionalSettings regional;
  DayNumber today = 0;
  std::vector<std::string> arguments;  // the plan-path words of the command line
  std::string versionText;
  // The local date and time, read when the client notes are opened and when a print is
  // logged; without it, midnight of `today`.
  std::function<LocalDateTime()> now;
  PaperSize paper = PaperSize::kA4;  // of the report's PDF
};

// The main window: the plan's inputs on the left (InputPanel), its results on the right
// (ResultsPanel). It shows the plan held by its PlanSession, writes each edit back through the
// session's operations and recalculates; it keeps no copy of a plan value of its own. Every
// calculation goes through Recalculate, which then shows everything once.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(MainWindowOptions options, WindowPrompts& prompts, QWidget* parent = nullptr);
  ~MainWindow() override;

  const PlanSession& Session() const { return session_; }
  const PlanResults& Results() const { return results_; }
  const AppSettings& Settings() const { return settings_; }
  const PlanParameters& Params() const { return params_; }
  const ChartForms& Forms() const { return *chartForms_; }

  // The one refresh path: Calculate, then show every figure, the grid and the charts.
  void Recalculate();
  void EnableButtons();

  // Plan commands.
  void NewPlan();
  void OpenPlan();
  void SavePlan(bool saveAs);
  // Debt commands; `add` tells a new debt from an edit of the selected one.
  void EnterDebt(bool add);
  void DeleteDebt();
  void MoveDebt(bool up);
  // Set Payment: the selected debt, never paid off today, gets the current payment that pays
  // it off within 60 months and loses Use Minimum, as one step of the history.
  void SetPayment();
  // The selected row of the debt grid, counting the heading as row 0.
  int SelectedGridRow() const;
  void SelectGridRow(int gridRow);

  // F10: the five figures of the information box, as shown.
  std::string InformationText() const;
  void ShowAbout();

  // The monthly tables window.
  void ShowMonthlyTables();
  // The consolidation recommendation, and applying it to every debt (`announce` reports the
  // outcome in a message).
  void ShowRecommendation();
  void SelectDebtsToConsolidate(bool announce);
  // The plan fee dialog (also from a click on the fee label) and the power payment dialog.
  void EditPlanFee();
  void EditPowerPayment();
  void EditPreferences();
  // Opens the client notes window, made on first use and kept for the run.
  void OpenNotes();
  // Print: recalculates, then produces the report in the language of the setting, or asks
  // through the pop-up menu languageMenu_ when the setting says so.
  void Print();
  // Export PDF: as Print, but the report is then saved as a PDF where the user chooses.
  void ExportPdf();
  // The report in `language` (chosen from languageMenu_ or by the setting), printed or
  // exported as the last of the two commands asked.
  void PrintReport(Language language);
  // Names the report file, asks about an existing one, generates, opens and logs the report.
  void PrepareReportFile();
  // Names the report file, asks about an existing one, generates it and saves its PDF.
  void ExportReportPdf();
  // The report file of the plan in the window for the current report language.
  std::filesystem::path ReportFilePath() const;
  // Form: opens the blank data collection form.
  void OpenDataForm();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The public constructor's work, with what start-up read from `options`' program folder.
  MainWindow(MainWindowOptions& options, StartupSettings startup, WindowPrompts& prompts,
             QWidget* parent);
  // Says which of Params.ini and Settings.ini could not be read, and what the window does.
  void ShowStartupProblems(const StartupSettings& startup);
  void BuildMenuAndToolBar();
  // The menu bar, and the report language menu that Print pops up.
  void BuildMenus();
  void BuildToolBar();
  void BuildPanels();
  void ConnectInputs();
  void ConnectDebtGrid();
  // The selected debt's commands and hint: Set Payment offered (with its payment and months)
  // only for a debt never paid off today, whose payoff payments the status bar then says.
  void ShowSelectedDebt();
  void Start(const std::vector<std::string>& arguments);
  void ApplyPermissions();
  // Fills every input from the plan, without treating it as an edit.
  void ShowPlan();
  void UpdateCaption();
  // Shows the last calculation everywhere: the grid, the figures, the charts, the chart
  // forms, the fee charged, an open fee dialog and the strategies.
  void ShowResults();
  // After a new or opened plan: its inputs, one calculation, the first debt selected, and a
  // fresh history.
  void ShowNewPlan();
  // After an undo or redo: the plan's inputs, one calculation, and debt row `row` (from 0;
  // -1 keeps the selection) selected.
  void ShowRestoredPlan(int row);
  void StoreAccelerator();
  void StoreConsolidationTerms();
  void AfterDebtListChange(int gridRowToSelect);
  // The File menu's recent plans, from the list as it stands.
  void RefreshRecentPlans();
  // A plan chosen from the recent plans: asks about unsaved changes, then opens it, or says
  // it is gone and drops it from the list.
  void OpenRecentPlan(const std::string& path);
  // The plan now open (or just saved) heads the recent plans.
  void RememberPlan();
  // Writes the keys of Settings.ini this window changed; a failure is said, naming the file.
  void SaveSettings();
  // Compares every priority when the page "Strategies" is in view; otherwise only notes that
  // its figures are stale, so an edit costs nothing more while the page is hidden.
  void RefreshStrategies();
  // The debt grid's selected rows as tab-separated text, on the clipboard.
  void CopySelectedDebts();
  // Writes the report document at the path it is given, in reportLanguage_.
  bool WriteReport(const std::filesystem::path& path, bool dropStalePdf);
  // Recalculates and goes on in the language of the setting, or asks for one first.
  void StartReport(bool pdf);

  MainWindowOptions options_;
  WindowPrompts& prompts_;
  SettingsStore settingsStore_;  // Settings.ini as this window last read or wrote it
  AppSettings settings_;
  PlanParameters params_;
  PlanSession session_;
  PlanHistory history_;  // undo and redo of every edit of session_'s plan
  PlanResults results_;
  PlanFigures shownFigures_;  // what the labels show, worked out from results_
  PlanStatements shownStatements_;  // what may be said of results_
  std::unique_ptr<ChartForms> chartForms_;
  SetupFeeDialog* setupFeeDialog_ = nullptr;  // while open, the display refresh fills it too
  NotesWindow* notes_ = nullptr;
  Language reportLanguage_ = Language::kSpanish;  // of the report being produced
  bool reportAsPdf_ = false;  // the report being produced is exported, not printed
  bool filling_ = false;  // inputs are being set from the plan, not by the user
  DesignPixels px_;  // design sizes at this platform's font

  // Tool bar and menu.
  QToolButton* newPlanButton_ = nullptr;
  QToolButton* openPlanButton_ = nullptr;
  QToolButton* saveButton_ = nullptr;
  QToolButton* notesButton_ = nullptr;
  QToolButton* formButton_ = nullptr;
  QToolButton* printButton_ = nullptr;
  QAction* printAction_ = nullptr;
  QAction* exportPdfAction_ = nullptr;
  QAction* preferencesAction_ = nullptr;
  QMenu* languageMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QMenu* debtMenu_ = nullptr;  // the debt grid's menu
  QAction* setPaymentAction_ = nullptr;

  InputPanel* in_ = nullptr;
  ResultsPanel* out_ = nullptr;
  DebtTableModel* debtModel_ = nullptr;
  bool strategiesStale_ = true;  // the Strategies page shows figures of an earlier calculation
};

}  // namespace ardvane
